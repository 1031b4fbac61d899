# shellcheck shell=bash
# Debian packages: what the builds and tests need, and a deb-src entry for
# `apt-get source`. Nothing is installed or fetched when it is already there,
# and apt-get update runs at most once, only when something must be fetched.

export DEBIAN_FRONTEND=noninteractive

OSTRABEL_PACKAGES=(
  # MinGW-w64 cross compilers with posix threads, binutils with windres
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  # native build and tests
  g++ cmake make pkg-config
  libpng-dev libjpeg62-turbo-dev zlib1g-dev libsndfile1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # the 64-bit DLL and its tests under Wine, windows under a virtual display
  wine64 xvfb xauth
  # apt-get source and unpacking Debian source packages
  dpkg-dev
  # the 32-bit guest
  qemu-system-x86 qemu-utils debootstrap e2fsprogs
)

# The release the machine runs (bookworm on Debian 12).
debian_codename() {
  (
    # shellcheck disable=SC1091
    . /etc/os-release
    echo "${VERSION_CODENAME:-bookworm}"
  )
}

# missing_packages: prints the packages of OSTRABEL_PACKAGES not installed.
missing_packages() {
  local installed
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${OSTRABEL_PACKAGES[@]}" 2>/dev/null |
    awk '$2 == "ii" { print $1 }' || true)
  local p
  for p in "${OSTRABEL_PACKAGES[@]}"; do
    grep -qxF "$p" <<<"$installed" || echo "$p"
  done
}

install_packages() {
  step "packages"
  local missing
  mapfile -t missing < <(missing_packages)
  if ((${#missing[@]} == 0)); then
    done_step "all ${#OSTRABEL_PACKAGES[@]} present"
    return
  fi
  apt_update
  logged apt-get install -y --no-install-recommends "${missing[@]}"
  done_step "installed ${#missing[@]}: ${missing[*]}"
}

# Reads apt's source lists on stdin (deb822 stanzas or one-line entries, as
# FORMAT says) and prints deb-src entries for the Debian suites of release CN.
# With MODE=check it prints "yes" when a deb-src entry for them exists already.
derive_deb_src() { # FORMAT MODE CN
  awk -v fmt="$1" -v mode="$2" -v cn="$3" '
    function ours(s) {
      return s == cn || s == cn "-updates" || s == cn "-security" || s == cn "/updates" ||
             s == "stable" || s == "stable-updates" || s == "stable-security"
    }
    function flush(   n, i, t, hasdeb, hassrc, suites, out) {
      if (nf == 0) return
      if (tolower(val["enabled"]) == "no") { nf = 0; delete val; return }
      n = split(val["types"], t, /[ \t]+/)
      for (i = 1; i <= n; i++) { if (t[i] == "deb") hasdeb = 1; if (t[i] == "deb-src") hassrc = 1 }
      n = split(val["suites"], t, /[ \t]+/)
      for (i = 1; i <= n; i++) if (ours(t[i])) suites = suites (suites ? " " : "") t[i]
      if (suites != "") {
        if (hassrc) found = 1
        if (hasdeb) {
          out = "Types: deb-src\nSuites: " suites "\n"
          for (i = 1; i <= nf; i++)
            if (key[i] != "types" && key[i] != "suites" && key[i] != "architectures")
              out = out raw[key[i]] "\n"
          derived = derived (derived ? "\n" : "") out
        }
      }
      nf = 0; delete val; delete raw
    }
    fmt == "deb822" && /^[ \t]*#/ { next }
    fmt == "deb822" && /^[ \t]*$/ { flush(); next }
    fmt == "deb822" && /^[ \t]/ { raw[last] = raw[last] "\n" $0; next }
    fmt == "deb822" {
      k = tolower(substr($0, 1, index($0, ":") - 1)); v = substr($0, index($0, ":") + 1)
      gsub(/^[ \t]+|[ \t]+$/, "", v)
      key[++nf] = k; val[k] = v; raw[k] = $0; last = k
      next
    }
    fmt == "line" && ($1 == "deb" || $1 == "deb-src") {
      line = $0; sub(/#.*/, "", line)
      n = split(line, f, /[ \t]+/)
      i = 2
      if (f[2] ~ /^\[/) { while (i <= n && f[i] !~ /\]$/) i++; i++ }
      if (ours(f[i + 1])) {
        if (f[1] == "deb-src") found = 1
        else { sub(/^[ \t]*deb/, "deb-src", line); derived = derived line "\n" }
      }
    }
    END {
      flush()
      if (mode == "check") { if (found) print "yes" }
      else printf "%s", derived
    }'
}

OSTRABEL_SRC_SOURCES=/etc/apt/sources.list.d/ostrabel-src.sources
OSTRABEL_SRC_LIST=/etc/apt/sources.list.d/ostrabel-src.list

# The deb822 and one-line source files apt reads, ours excluded.
apt_source_files() { # FORMAT
  local f
  if [[ $1 == deb822 ]]; then
    for f in /etc/apt/sources.list.d/*.sources; do
      [[ -f $f && $f != "$OSTRABEL_SRC_SOURCES" ]] && echo "$f"
    done
  else
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [[ -f $f && $f != "$OSTRABEL_SRC_LIST" ]] && echo "$f"
    done
  fi
  return 0
}

# cat_sources FORMAT: every source file of that format, stanzas kept apart.
cat_sources() {
  local f
  while read -r f; do
    cat "$f"
    echo
  done < <(apt_source_files "$1")
}

# Adds a deb-src entry mirroring the machine's own Debian entries (same URIs,
# suites, components and keys), then fetches the source indexes if missing.
ensure_deb_src() {
  step "deb-src entry"
  local cn state
  cn=$(debian_codename)
  if [[ -f $OSTRABEL_SRC_SOURCES || -f $OSTRABEL_SRC_LIST ]] ||
    [[ -n $(cat_sources deb822 | derive_deb_src deb822 check "$cn") ]] ||
    [[ -n $(cat_sources line | derive_deb_src line check "$cn") ]]; then
    state="present"
  else
    local d822 dline
    d822=$(cat_sources deb822 | derive_deb_src deb822 derive "$cn")
    dline=$(cat_sources line | derive_deb_src line derive "$cn")
    [[ -n $d822 || -n $dline ]] ||
      die "no apt source for Debian $cn found to derive a deb-src entry from"
    as_root
    if [[ -n $d822 ]]; then
      printf '# Debian sources for apt-get source, added by the Ostrabel set-up.\n%s\n' "$d822" \
        >"$OSTRABEL_SRC_SOURCES"
    fi
    if [[ -n $dline ]]; then
      printf '# Debian sources for apt-get source, added by the Ostrabel set-up.\n%s\n' "$dline" \
        >"$OSTRABEL_SRC_LIST"
    fi
    state="added"
  fi
  # apt lists only the indexes it has downloaded.
  # shellcheck disable=SC2016 # apt's format, not the shell's
  if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources; then
    apt_update
    state="$state, indexes fetched"
  fi
  done_step "$state"
}

apt_updated=0
apt_update() {
  ((apt_updated)) && return
  as_root
  logged apt-get update
  apt_updated=1
}

as_root() {
  ((EUID == 0)) || die "this step needs root (run the set-up as root)"
}
