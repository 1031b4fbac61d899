#!/usr/bin/env bash
# Builds the deliverables into dist/: Ostrabel.so and ostrabel-host (native),
# Ostrabel_x64.dll and Ostrabel_x86.dll (MinGW-w64 cross builds).
# Usage: scripts/build.sh [--tests]
#   --tests  also builds every test, benchmark and the sanitizer build.
# Builds are incremental: a preset is configured once, then only rebuilt.
# Expects the machine set up by scripts/setup.sh.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
cd "$repo"
jobs=${OSTRABEL_JOBS:-2}
with_tests=0
[[ ${1:-} == --tests ]] && with_tests=1

build() {  # build PRESET [TARGET...]
  local preset=$1
  shift
  local t0=$SECONDS
  if [[ ! -f build/$preset/CMakeCache.txt ]]; then
    cmake --preset "$preset" >"build/$preset.configure.log" 2>&1 || {
      tail -n 40 "build/$preset.configure.log" >&2
      echo "build: configuring $preset failed" >&2
      exit 1
    }
  fi
  local targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  if ! cmake --build "build/$preset" -j "$jobs" "${targets[@]}" >"build/$preset.build.log" 2>&1; then
    grep -E 'error|Error' "build/$preset.build.log" | head -n 40 >&2
    echo "build: $preset failed (log: build/$preset.build.log)" >&2
    exit 1
  fi
  printf 'build: %-12s done (%d s)\n' "$preset" $((SECONDS - t0))
}

mkdir -p build dist
if ((with_tests)); then
  build native
  build win64
  build win32
  build native-asan
else
  build native ostrabel_plugin ostrabel-host make_guitar_clip
  build win64 ostrabel_plugin ostrabel-host
  build win32 ostrabel_plugin ostrabel-host
fi

cp build/native/src/ostrabel/Ostrabel.so dist/
cp build/native/tools/host/ostrabel-host dist/
cp build/win64/src/ostrabel/Ostrabel_x64.dll dist/
cp build/win32/src/ostrabel/Ostrabel_x86.dll dist/
echo "build: dist/ holds $(cd dist && ls | tr '\n' ' ')"
