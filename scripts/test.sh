#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test:
#   native unit and end-to-end tests, the same under AddressSanitizer/UBSan,
#   the 64-bit DLL's end-to-end tests under Wine, the DLLs' static checks,
#   native against Windows renders bit for bit, and the 32-bit DLL's tests
#   inside the emulated guest.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
cd "$repo"
t0=$SECONDS
jobs=${OSTRABEL_JOBS:-2}

"$repo/scripts/setup.sh" || exit 1
"$repo/scripts/build.sh" --tests || exit 1

status=0
run() {  # run NAME COMMAND...: runs one suite, remembers a failure
  local t=$SECONDS
  echo "== $1"
  shift
  if "$@"; then
    echo "== passed ($((SECONDS - t)) s)"
  else
    echo "== FAILED ($((SECONDS - t)) s)"
    status=1
  fi
}

run "native tests" ctest --test-dir build/native --output-on-failure -j "$jobs"
run "sanitizer tests" ctest --test-dir build/native-asan --output-on-failure -j "$jobs"
run "64-bit DLL under Wine" ctest --test-dir build/win64 --output-on-failure
run "32-bit DLL" ctest --test-dir build/win32 --output-on-failure -LE guest
run "native and Windows builds agree" tests/cross/compare-sessions.sh
run "32-bit DLL in the emulated guest" tests/cross/guest-tests.sh

echo "test: all suites done in $((SECONDS - t0)) s"
if ((status)); then echo "test: FAILED"; else echo "test: all passed"; fi
exit $status
