# shellcheck shell=bash
# Static zlib, libpng 1.6 and libjpeg-turbo (libjpeg API 62) for the MinGW-w64
# targets, built from Debian's own source packages into
# .cache/mingw/<triple>/{include,lib}, where cmake/mingw-*.cmake looks for them.
#
# Each library of each target has a stamp holding a key: a hash of this file,
# the toolchain files, the compiler, the source package version and, for libpng,
# the key of the zlib it links. A library is rebuilt only when its key changes.
# Everything that shapes these builds lives in this file, so that editing it
# rebuilds them. Uses log.sh and apt.sh, sourced before it.

OSTRABEL_TRIPLES=(x86_64-w64-mingw32 i686-w64-mingw32)
OSTRABEL_SOURCE_PACKAGES=(zlib libpng1.6 libjpeg-turbo)
# The libraries in build order (libpng links zlib), and the source package of each.
OSTRABEL_LIBS=(zlib libpng libjpeg)
declare -A OSTRABEL_LIB_PACKAGE=([zlib]=zlib [libpng]=libpng1.6 [libjpeg]=libjpeg-turbo)
# A file each build installs, checked before its stamp is written.
declare -A OSTRABEL_LIB_FILE=([zlib]=lib/libz.a [libpng]=lib/libpng16.a [libjpeg]=lib/libjpeg.a)

declare -A src_version=()   # source package -> Debian version
declare -A lib_key=()       # "lib triple" -> stamp key

mingw_deps_init() { # REPO
  deps_repo=$1
  deps_src=$deps_repo/.cache/src
  deps_build=$deps_repo/.cache/build-deps
  deps_jobs=${OSTRABEL_JOBS:-2}
}

deps_prefix() { echo "$deps_repo/.cache/mingw/$1"; }
deps_stamp() { echo "$(deps_prefix "$2")/.stamps/$1"; }

# Compiler flags for a target (words on one line): the project's
# floating-point rules hold here too.
deps_cflags() {
  case $1 in
    i686-*) echo "-ffp-contract=off -msse2 -mfpmath=sse" ;;
    *) echo "-ffp-contract=off" ;;
  esac
}

# Versions of the source packages in the machine's Debian release (the
# release's own suite, as `apt-get source -t <release>` would choose).
read_source_versions() {
  local cn pkg ver where
  src_version=()
  cn=$(debian_codename)
  while IFS='|' read -r pkg ver where; do
    pkg=${pkg// /} ver=${ver// /}
    [[ $where == *" $cn/"*" Sources" ]] || continue
    if [[ -z ${src_version[$pkg]:-} ]] || dpkg --compare-versions "$ver" gt "${src_version[$pkg]}"; then
      src_version[$pkg]=$ver
    fi
  done < <(apt-cache madison "${OSTRABEL_SOURCE_PACKAGES[@]}" 2>/dev/null)
  for pkg in "${OSTRABEL_SOURCE_PACKAGES[@]}"; do
    [[ -n ${src_version[$pkg]:-} ]] ||
      die "no source package $pkg in Debian $cn (is the deb-src entry there?)"
  done
}

compute_keys() {
  local here recipe triple lib cc
  here=$(dirname "${BASH_SOURCE[0]}")
  recipe=$(cat "$here/mingw-deps.sh" "$deps_repo"/cmake/mingw-*.cmake | sha256sum)
  for triple in "${OSTRABEL_TRIPLES[@]}"; do
    cc=$("$triple-gcc-posix" --version | head -n 1)
    for lib in "${OSTRABEL_LIBS[@]}"; do
      lib_key["$lib $triple"]=$(printf '%s\n' "$recipe" "$cc" "$triple" "$lib" \
        "${src_version[${OSTRABEL_LIB_PACKAGE[$lib]}]}" \
        "$([[ $lib == libpng ]] && echo "${lib_key["zlib $triple"]}")" | sha256sum | cut -c1-16)
    done
  done
}

stamp_ok() { # LIB TRIPLE
  local stamp prefix
  stamp=$(deps_stamp "$1" "$2")
  prefix=$(deps_prefix "$2")
  [[ -f $stamp && $(<"$stamp") == "${lib_key["$1 $2"]}" && -f $prefix/${OSTRABEL_LIB_FILE[$1]} ]]
}

# Directory that dpkg-source unpacks a source package into.
src_dir() { # PACKAGE
  local ver=${src_version[$1]}
  ver=${ver#*:}
  [[ $ver == *-* ]] && ver=${ver%-*}
  echo "$deps_src/$1-$ver"
}

# Downloads and unpacks (with Debian's patches applied) the source packages not
# already there in the wanted version. Fails when apt-get source does.
fetch_sources() { # PACKAGE...
  local pkg want=()
  mkdir -p "$deps_src"
  for pkg in "$@"; do
    if [[ -f $deps_src/$pkg.version && $(<"$deps_src/$pkg.version") == "${src_version[$pkg]}" &&
      -d $(src_dir "$pkg") ]]; then
      continue
    fi
    rm -rf "${deps_src:?}/$pkg"[-_]* "$deps_src/$pkg.version"
    want+=("$pkg")
  done
  ((${#want[@]})) || return 0
  local cn args=()
  cn=$(debian_codename)
  for pkg in "${want[@]}"; do args+=("$pkg/$cn"); done
  # shellcheck disable=SC2154 # step_log comes from log.sh
  (cd "$deps_src" && apt-get -o APT::Sandbox::User=root source "${args[@]}") >>"$step_log" 2>&1 ||
    return 1
  for pkg in "${want[@]}"; do
    [[ -d $(src_dir "$pkg") ]] || die "apt-get source left no $(src_dir "$pkg")"
    echo "${src_version[$pkg]}" >"$deps_src/$pkg.version"
  done
}

# zlib: Debian's source has no win32 makefile and zlib's configure refuses
# MinGW, so its library objects (the list in Makefile.in) are compiled here.
build_zlib() { # TRIPLE PREFIX BUILDDIR
  local triple=$1 prefix=$2 b=$3 src objs cflags o
  src=$(src_dir zlib)
  mapfile -t objs < <(sed -n 's/^OBJ[ZG] *= *//p' "$src/Makefile.in" | tr -s ' \t' '\n' | grep .)
  ((${#objs[@]})) || die "no object list in $src/Makefile.in"
  read -ra cflags <<<"$(deps_cflags "$triple")"
  for o in "${objs[@]}"; do echo "${o%.o}"; done |
    logged xargs -P "$deps_jobs" -I{} "$triple-gcc-posix" -O3 -DNDEBUG -Wall "${cflags[@]}" \
      -I"$src" -c "$src/{}.c" -o "$b/{}.o"
  (cd "$b" && logged "$triple-ar" rcs libz.a "${objs[@]}")
  mkdir -p "$prefix/include" "$prefix/lib/pkgconfig"
  install -m 644 "$src/zlib.h" "$src/zconf.h" "$prefix/include/"
  install -m 644 "$b/libz.a" "$prefix/lib/"
  local ver
  ver=$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$src/zlib.h")
  cat >"$prefix/lib/pkgconfig/zlib.pc" <<EOF
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: zlib
Description: zlib compression library
Version: $ver
Libs: -L\${libdir} -lz
Cflags: -I\${includedir}
EOF
}

# CMake-built libraries, with the project's own toolchain file. Directory
# options carry their type: libjpeg-turbo makes untyped relative ones absolute
# against the working directory (the build directory here, all the same).
cmake_build() { # TRIPLE PREFIX BUILDDIR SRC OPTIONS...
  local triple=$1 prefix=$2 b=$3 src=$4
  shift 4
  logged cmake -S "$src" -B "$b" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$deps_repo/cmake/mingw-${triple%%-*}.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS="$(deps_cflags "$triple")" \
    -DCMAKE_INSTALL_PREFIX:PATH="$prefix" \
    -DCMAKE_INSTALL_LIBDIR:PATH=lib -DCMAKE_INSTALL_INCLUDEDIR:PATH=include \
    -DCMAKE_INSTALL_BINDIR:PATH=bin \
    "$@"
  logged cmake --build "$b" -j "$deps_jobs"
  logged cmake --install "$b"
}

build_libpng() { # TRIPLE PREFIX BUILDDIR
  cmake_build "$1" "$2" "$3" "$(src_dir libpng1.6)" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_INCLUDE_DIR="$2/include" -DZLIB_LIBRARY="$2/lib/libz.a"
}

# Links a program using all three libraries statically, as the plug-in will.
check_link() { # TRIPLE PREFIX BUILDDIR
  local triple=$1 prefix=$2 b=$3
  cat >"$b/check.c" <<'EOF'
#include <stdio.h>
#include <png.h>
#include <jpeglib.h>
#include <zlib.h>
int main(void) {
  unsigned char in[64] = {0}, z[128];
  uLongf zn = sizeof z;
  struct jpeg_error_mgr err;
  png_image image = {0};
  image.version = PNG_IMAGE_VERSION;
  gzFile f = gzopen("nul", "rb");
  if (f) gzclose(f);
  jpeg_std_error(&err);
  return compress(z, &zn, in, sizeof in) != Z_OK ||
         png_image_begin_read_from_memory(&image, in, sizeof in) ||
         printf("zlib %s, libpng %s, libjpeg API %d\n", zlibVersion(),
                png_get_libpng_ver(NULL), JPEG_LIB_VERSION) < 0;
}
EOF
  logged "$triple-gcc-posix" -static -I"$prefix/include" "$b/check.c" -o "$b/check.exe" \
    "$prefix/lib/libpng16.a" "$prefix/lib/libjpeg.a" "$prefix/lib/libz.a"
}

build_libjpeg() { # TRIPLE PREFIX BUILDDIR
  cmake_build "$1" "$2" "$3" "$(src_dir libjpeg-turbo)" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF \
    -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF
}

# Sets todo (the "lib triple" builds whose stamps are stale) and todo_packages
# (the source packages they need).
plan_builds() {
  local triple lib
  read_source_versions
  compute_keys
  todo=() todo_packages=()
  for triple in "${OSTRABEL_TRIPLES[@]}"; do
    for lib in "${OSTRABEL_LIBS[@]}"; do
      stamp_ok "$lib" "$triple" && continue
      todo+=("$lib $triple")
      [[ " ${todo_packages[*]} " == *" ${OSTRABEL_LIB_PACKAGE[$lib]} "* ]] ||
        todo_packages+=("${OSTRABEL_LIB_PACKAGE[$lib]}")
    done
  done
}

build_mingw_deps() { # REPO
  mingw_deps_init "$1"
  step "mingw sources"
  local todo todo_packages
  plan_builds
  if ((${#todo[@]})) && ! fetch_sources "${todo_packages[@]}"; then
    # The package lists may be older than the mirror: refresh them once.
    apt_update
    plan_builds
    fetch_sources "${todo_packages[@]}" ||
      die "apt-get source failed, see $step_log"
  fi
  local versions="zlib ${src_version[zlib]}, libpng1.6 ${src_version[libpng1.6]}, libjpeg-turbo ${src_version[libjpeg-turbo]}"
  if ((${#todo[@]} == 0)); then
    done_step "libraries up to date ($versions)"
    return
  fi
  done_step "$versions"
  local item lib triple prefix b stamp
  for item in "${todo[@]}"; do
    lib=${item% *} triple=${item#* }
    step "$lib $triple"
    prefix=$(deps_prefix "$triple")
    b=$deps_build/$triple/$lib
    stamp=$(deps_stamp "$lib" "$triple")
    rm -f "$stamp"
    rm -rf "$b"
    mkdir -p "$b" "${stamp%/*}"
    # From inside the build directory, so nothing lands beside the caller.
    (cd "$b" && "build_$lib" "$triple" "$prefix" "$b")
    [[ -f $prefix/${OSTRABEL_LIB_FILE[$lib]} ]] || die "$lib for $triple installed no ${OSTRABEL_LIB_FILE[$lib]}"
    echo "${lib_key["$lib $triple"]}" >"$stamp"
    rm -rf "$b"
    done_step "built"
  done
  for triple in "${OSTRABEL_TRIPLES[@]}"; do
    [[ " ${todo[*]} " == *" $triple "* ]] || continue
    step "link check $triple"
    b=$deps_build/$triple/check
    mkdir -p "$b"
    check_link "$triple" "$(deps_prefix "$triple")" "$b"
    done_step "ok"
  done
  rm -rf "$deps_build"
}
