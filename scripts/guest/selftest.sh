#!/bin/bash
# Checks the guest end to end: cross-builds selftest.cpp for i686 and runs it
# through run.sh: restored from the saved machine state, with and without an
# X server, and (unless --quick) booted cold. Builds the guest image first if
# needed.
# Usage: scripts/guest/selftest.sh [--quick]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cxx=i686-w64-mingw32-g++-posix
command -v "$cxx" >/dev/null || { echo "selftest: $cxx missing" >&2; exit 1; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/ostrabel-guest-selftest.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/share"
"$cxx" -std=c++20 -O2 -static -msse2 -mfpmath=sse -ffp-contract=off \
    -o "$tmp/share/selftest.exe" "$here/selftest.cpp" -luser32 || exit 1

# The bits of the correctly rounded IEEE doubles, worked out by hand:
# 1/3 = 0x1.5555555555555p-2, sqrt(2) = 0x1.6a09e667f3bcdp+0,
# 0.1 + 0.2 = 0x1.3333333333334p-2 (one ulp above 0.3).
expected='pointer bits 32
1/3 3fd5555555555555
sqrt2 3ff6a09e667f3bcd
0.1+0.2 3fd3333333333334
args [two words] [x"y] []'

passed=0 failed=0
check() { # name, condition result
    if [[ $2 == 0 ]]; then
        passed=$((passed + 1)); echo "ok   $1"
    else
        failed=$((failed + 1)); echo "FAIL $1"
    fi
}

one_run() { # label, extra environment
    local label=$1 t0=$SECONDS rc
    shift
    echo 'hello from the host' >"$tmp/share/in.txt"
    rm -f "$tmp/share/out.txt"
    env "$@" "$here/run.sh" "$tmp/share" wine selftest.exe 'two words' 'x"y' '' \
        >"$tmp/stdout" 2>"$tmp/stderr"
    rc=$?
    echo "     ($label run: $((SECONDS - t0)) s, exit $rc)"
    check "$label: exit code 7" "$( ((rc == 7)); echo $?)"
    [[ $(tr -d '\r' <"$tmp/stdout") == "$expected" ]]
    check "$label: stdout, argv and SSE2 double bits" $?
    [[ $(tr -d '\r' <"$tmp/stderr") == "to stderr" ]]
    check "$label: stderr" $?
    [[ $(cat "$tmp/share/out.txt" 2>/dev/null) == "read: hello from the host" ]]
    check "$label: file read and written in the share" $?
    if ((rc != 7)); then
        echo "---- stdout"; cat "$tmp/stdout"; echo "---- stderr"; cat "$tmp/stderr"
    fi
}

window_run() { # label, expected screen line pattern, extra environment
    local label=$1 want=$2 t0=$SECONDS rc out
    shift 2
    out=$(env "$@" "$here/run.sh" "$tmp/share" wine selftest.exe --window 2>&1)
    rc=$?
    echo "     ($label run: $((SECONDS - t0)) s, exit $rc)"
    [[ $rc == 0 && $(tr -d '\r' <<<"$out") == $want ]]
    check "$label: a window opens ($want)" $?
    [[ $rc == 0 ]] || echo "$out"
}

t0=$SECONDS
"$here/build-image.sh" || exit 1
echo "     (image ready: $((SECONDS - t0)) s)"
one_run restored
window_run "null display" "window 1 screen "*
# The screen size is the one Xvfb was given, so Wine drew on X.
window_run Xvfb "window 1 screen 640x480" OSTRABEL_GUEST_XVFB=640x480x24
[[ ${1-} == --quick ]] || one_run cold OSTRABEL_GUEST_COLD=1
echo "$passed passed, $failed failed"
((failed == 0))
