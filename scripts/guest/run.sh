#!/bin/bash
# Runs one command under 32-bit Wine inside the test guest (Debian 12 amd64,
# i386 architecture, wine32, under qemu-system-x86_64) and hands back its
# output and exit code.
#
# Usage: scripts/guest/run.sh SHARE_DIR COMMAND [ARG...]
#   SHARE_DIR  a host folder, shared read-write with the guest as /work; it is
#              the command's working directory.
#   COMMAND    runs in the guest as root, with a 32-bit Wine prefix
#              (WINEARCH=win32, WINEDEBUG=-all, no X server: null display
#              driver), e.g.
#                scripts/guest/run.sh build/win32 wine tests/test_host.exe -v
#              The arguments reach the guest unchanged (no shell in between).
# Output: the command's stdout on stdout, then its stderr on stderr (both once
# it has ended; Windows programs write CRLF line ends in text mode).
# Exit code: the command's; 124 when the guest ran out of time; 125 when the
# guest could not run the command.
#
# Environment:
#   OSTRABEL_GUEST_TIMEOUT   seconds before the guest is stopped (default 600)
#   OSTRABEL_GUEST_COLD=1    boot the guest (about 20 s more) instead of
#                            restoring the machine state saved with the image
#   OSTRABEL_GUEST_CONSOLE=1 print the guest's console on stderr afterwards
#   OSTRABEL_GUEST_XVFB=WxHxD run the command with an X server (Xvfb, e.g.
#                            1024x768x24) instead of the null display driver
#   OSTRABEL_GUEST_CACHE     where the image lives (default <repo>/.cache/guest)
# The guest's disk is never changed (-snapshot, read-only root). The image is
# built first when missing or out of date (build-image.sh, as root, ~5 min).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

(($# >= 2)) || { sed -n '2,/^set /p' "${BASH_SOURCE[0]}" | sed '$d' >&2; exit 125; }
share=$(cd "$1" 2>/dev/null && pwd) || guest_die "no such folder: $1"
shift
timeout_s=${OSTRABEL_GUEST_TIMEOUT:-600}
[[ $timeout_s =~ ^[0-9]+$ ]] || guest_die "OSTRABEL_GUEST_TIMEOUT must be a number of seconds"
guest_need_tools qemu-system-x86_64 zstd timeout mkfifo flock

guest_image_current || "$guest_dir/build-image.sh" >&2 || guest_die "could not build the guest image"
exec 9>"$cache_dir/.lock"
flock -s -n 9 || { echo "guest: waiting for the image lock (an image build)" >&2; flock -s 9; }
guest_image_current || guest_die "the guest image changed while waiting for it"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/ostrabel-guest.XXXXXX") || guest_die "mktemp failed"
ctl=$tmp/ctl
mkdir "$ctl"
printf '%s\0' "$@" >"$ctl/command"
if [[ -n ${OSTRABEL_GUEST_XVFB-} ]]; then
    [[ $OSTRABEL_GUEST_XVFB =~ ^[0-9]+x[0-9]+x[0-9]+$ ]] || guest_die "OSTRABEL_GUEST_XVFB must look like 1024x768x24"
    echo "$OSTRABEL_GUEST_XVFB" >"$ctl/xvfb"
fi

pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    if [[ ${OSTRABEL_GUEST_CONSOLE-} == 1 && -f $ctl/console.log ]]; then
        echo "---- guest console ----" >&2
        cat "$ctl/console.log" >&2
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT

start=$SECONDS

# Restores the machine saved by build-image.sh (paused, Wine already running,
# the guest waiting on ttyS1), resumes it once loaded and tells it to go.
# Nothing may reach ttyS1 before the machine runs again: bytes that arrive
# while the state loads leave the guest's serial port deaf. The "go" line is
# repeated until the guest acknowledges it. Returns 1 if the saved state
# did not start, so that the caller boots instead.
run_restored() {
    [[ $warm_state != *[\'\"]* ]] || return 1
    mkfifo "$tmp/hs.in" "$tmp/hs.out" "$tmp/mon.in" "$tmp/mon.out"
    guest_qemu_args warm "$ctl" "$share" "pipe,path=$tmp/hs"
    timeout -k 10 "$timeout_s" qemu-system-x86_64 "${qemu_args[@]}" -snapshot \
        -chardev "pipe,id=mon,path=$tmp/mon" -mon chardev=mon,mode=readline \
        -incoming "exec:zstd -dcq '$warm_state'" 2>"$tmp/qemu.err" &
    local qemu=$! state=loading
    pids+=("$qemu")
    cat "$tmp/hs.out" >"$tmp/hs.log" &
    pids+=($!)
    cat "$tmp/mon.out" >"$tmp/mon.log" &
    pids+=($!)
    exec 5<>"$tmp/hs.in" 6<>"$tmp/mon.in"
    while kill -0 "$qemu" 2>/dev/null; do
        case $state in
        loading)
            if grep -q 'Migration status: completed' "$tmp/mon.log"; then
                echo cont >&6
                state=running
                continue
            fi
            grep -q 'Migration status: failed' "$tmp/mon.log" && break
            echo 'info migrate' >&6
            ;;
        running)
            if grep -q ack "$tmp/hs.log"; then
                state=acked
                break
            fi
            printf 'go %s\n' "$(date +%s)" >&5
            ;;
        esac
        sleep 0.1
    done
    [[ $state != loading ]] || kill "$qemu" 2>/dev/null
    wait "$qemu"
    qemu_rc=$?
    exec 5>&- 6>&-
    [[ $state == acked || -f $ctl/status ]] || ((qemu_rc == 124))
}

qemu_rc=0
if [[ ${OSTRABEL_GUEST_COLD-} != 1 ]] && ! run_restored; then
    echo "guest: the saved machine state did not start ($(head -c 300 "$tmp/qemu.err")); booting instead" >&2
    rm -f "$ctl/console.log"
    OSTRABEL_GUEST_COLD=1
fi
if [[ ${OSTRABEL_GUEST_COLD-} == 1 ]]; then
    guest_qemu_args run "$ctl" "$share" null
    left=$((timeout_s - (SECONDS - start)))
    ((left > 0)) || left=1
    timeout -k 10 "$left" qemu-system-x86_64 "${qemu_args[@]}" -snapshot 2>"$tmp/qemu.err"
    qemu_rc=$?
fi

[[ -f $ctl/stdout ]] && cat "$ctl/stdout"
[[ -f $ctl/stderr ]] && cat "$ctl/stderr" >&2
if [[ -f $ctl/status ]]; then
    exit "$(cat "$ctl/status")"
fi
if ((qemu_rc == 124)); then
    echo "guest: stopped after ${timeout_s} s (OSTRABEL_GUEST_TIMEOUT)" >&2
    exit 124
fi
echo "guest: the command did not run (qemu exit $qemu_rc): $(head -c 500 "$tmp/qemu.err")" >&2
[[ -f $ctl/console.log ]] && tail -n 20 "$ctl/console.log" >&2
exit 125
