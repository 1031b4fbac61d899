#!/usr/bin/env bash
# The 32-bit DLL, run for real: boots the emulated guest once and, under
# 32-bit Wine there, runs the end-to-end tests against Ostrabel_x86.dll and
# the fixed sessions, each with the x87 precision as the host left it and set
# to 53 bits; every session must match the native build bit for bit.
# The 24-bit case is left out here: the emulator rounds x87 loads to the
# precision setting (real processors load exactly), which shortens every
# double a function returns on i386; the static checks show instead that the
# DLL's own code does no x87 arithmetic, and the 64-bit DLL is run at 24 bits.
# Usage: tests/cross/guest-tests.sh   (after scripts/build.sh --tests)
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)
cd "$repo"
share=build/win32/guest-share
rm -rf "$share"
mkdir -p "$share"
cp build/win32/tests/host/host_tests.exe build/win32/tools/host/ostrabel-host.exe \
  build/win32/src/ostrabel/Ostrabel_x86.dll "$share/"
mapfile -t sessions <tests/cross/sessions.txt

# One guest boot runs everything; results come back as files in the share.
# The programs run from the guest's own disk: images mapped straight from the
# 9p share come out with pages of zeros. A crash prints its backtrace instead
# of waiting on a dialog nobody sees, and no program may hang the run.
{
  echo "wine reg add 'HKCU\\Software\\Wine\\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1"
  echo 'mkdir -p /tmp/run && cp /work/*.exe /work/*.dll /tmp/run/ && cd /tmp/run || exit 1'
  echo 'timeout 300 wine ostrabel-host.exe info Ostrabel_x86.dll >/work/info.out 2>&1'
  echo 'timeout 300 wine host_tests.exe --plugin=Ostrabel_x86.dll >/work/host_tests.out 2>&1; echo $? >/work/host_tests.rc'
  for i in "${!sessions[@]}"; do
    for x87 in "" 53; do
      echo "timeout 300 wine ostrabel-host.exe session Ostrabel_x86.dll ${sessions[$i]}${x87:+ --x87 $x87} >/work/session-$i-${x87:-host}.out 2>&1"
    done
  done
} >"$share/run-all.sh"
t0=$SECONDS
scripts/guest/run.sh "$share" sh /work/run-all.sh
guest_rc=$?
echo "guest: ran in $((SECONDS - t0)) s (exit $guest_rc)"

passed=0
failed=0
verdict() {  # verdict OK? TEXT
  if (($1)); then passed=$((passed + 1)); echo "PASS $2"; else failed=$((failed + 1)); echo "FAIL $2"; fi
}
tr -d '\r' <"$share/info.out" 2>/dev/null | sed 's/^/     /'
tr -d '\r' <"$share/host_tests.out" 2>/dev/null | grep -E '^\[  (PASSED|FAILED) |^\[==========\]|Failure' -A3 | sed 's/^/     /'
verdict "$([[ $(cat "$share/host_tests.rc" 2>/dev/null) == 0 ]] && echo 1 || echo 0)" "32-bit end-to-end tests"
for i in "${!sessions[@]}"; do
  # shellcheck disable=SC2086
  expected=$(build/native/tools/host/ostrabel-host session build/native/src/ostrabel/Ostrabel.so ${sessions[$i]} 2>&1)
  for x87 in host 53; do
    got=$(tr -d '\r' <"$share/session-$i-$x87.out" 2>/dev/null)
    verdict "$([[ -n $expected && $got == "$expected" ]] && echo 1 || echo 0)" \
      "win32 (x87 $x87) ${sessions[$i]}: ${got:-no output}"
  done
done
echo "32-bit guest: $passed passed, $failed failed"
((failed == 0))
