#!/usr/bin/env bash
# Runs the same sessions through the native plug-in and the 64-bit DLL under
# Wine (also with the host's x87 precision set to 53 and 24 bits before the
# plug-in loads) and requires bit-identical output.
# Usage: tests/cross/compare-sessions.sh   (after scripts/build.sh)
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
cd "$repo"
native_host=build/native/tools/host/ostrabel-host
native_plugin=build/native/src/ostrabel/Ostrabel.so
win64_host=build/win64/tools/host/ostrabel-host.exe
win64_plugin=build/win64/src/ostrabel/Ostrabel_x64.dll

mapfile -t sessions <"$repo/tests/cross/sessions.txt"
passed=0
failed=0
for session in "${sessions[@]}"; do
  # shellcheck disable=SC2086
  expected=$("$native_host" session "$native_plugin" $session 2>&1)
  for x87 in "" 53 24; do
    args="$session${x87:+ --x87 $x87}"
    # shellcheck disable=SC2086
    got=$("$repo/scripts/wine.sh" "$win64_host" session "$win64_plugin" $args 2>&1 | tr -d '\r')
    if [[ -n $expected && $got == "$expected" ]]; then
      passed=$((passed + 1))
      echo "PASS win64 ${x87:+(x87 $x87 bits) }$session: $got"
    else
      failed=$((failed + 1))
      echo "FAIL win64 ${x87:+(x87 $x87 bits) }$session"
      echo "     native: $expected"
      echo "     win64:  $got"
    fi
  done
done
echo "cross-build sessions: $passed passed, $failed failed"
((failed == 0))
