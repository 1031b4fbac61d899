#!/usr/bin/env bash
# Runs a Windows x86-64 program under Wine 8 with the project's own prefix:
#
#   scripts/wine.sh program.exe [args...]
#
# The program's exit code is passed through (Unix keeps its low 8 bits); 125
# means Wine itself could not be set up. The first call creates the prefix
# (about 10 s).
#
# Windows go to Wine's null graphics driver, so no display is needed. With
# OSTRABEL_WINE_DISPLAY=1 they go to the X display in $DISPLAY instead (run the
# caller under xvfb-run); such runs use a prefix of their own and run one at a
# time, since Wine's desktop process is bound to one display.
#
# Environment: OSTRABEL_WINEDEBUG (default -all) becomes WINEDEBUG;
# OSTRABEL_WINE_PERSIST (default 30) is how many seconds the wineserver stays
# after the last program, so that later calls start in a fraction of a second.
set -euo pipefail

if (($# < 1)); then
  echo "usage: $0 program.exe [args...]" >&2
  exit 2
fi

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
fail() {
  echo "wine.sh: $*" >&2
  exit 125
}
[[ -x $wine && -x $wineserver ]] || fail "Wine 8 (wine64) is not installed: run scripts/setup.sh"

display=${OSTRABEL_WINE_DISPLAY:-0}
if [[ $display == 1 ]]; then
  [[ -n ${DISPLAY:-} ]] || fail "OSTRABEL_WINE_DISPLAY=1 needs an X display (run under xvfb-run)"
  export WINEPREFIX=$repo/.cache/wine64-x11
else
  export WINEPREFIX=$repo/.cache/wine64
fi
export WINEDEBUG=${OSTRABEL_WINEDEBUG:--all}
export WINEARCH=win64
export WINESERVER=$wineserver
persist=${OSTRABEL_WINE_PERSIST:-30}
logs=$repo/.cache/logs/wine
mkdir -p "$logs"

# Serialises the prefix's creation and the server's start-up (and, with a
# display, whole runs). Wine's processes must not inherit the lock: each command
# below that starts one closes descriptor 8.
exec 8>"$WINEPREFIX.lock"
flock 8

if [[ ! -f $WINEPREFIX/.ostrabel-ready ]]; then
  init_log=$logs/${WINEPREFIX##*/}-init.log
  rm -rf "$WINEPREFIX" # left half-made by an interrupted first call
  # No Mono or Gecko: the programs need neither, and there is nothing to fetch.
  WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init </dev/null >"$init_log" 2>&1 8>&- ||
    fail "wineboot --init failed, see $init_log"
  if [[ $display != 1 ]]; then
    "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >>"$init_log" 2>&1 8>&- ||
      fail "setting the null graphics driver failed, see $init_log"
  fi
  # Let this first session end, so the desktop process it started goes and the
  # next one comes up with the driver just set.
  "$wineserver" -w </dev/null >>"$init_log" 2>&1 8>&-
  touch "$WINEPREFIX/.ostrabel-ready"
fi

# Wine's background processes (services, desktop) inherit the descriptors of
# the program that starts them and live as long as the server: started by the
# program, they would hold a caller's output pipe open seconds after it exits.
# So the server and its background processes start here, detached from ours.
start_server() { # PERSIST-SECONDS
  if "$wineserver" -p"$1" </dev/null >/dev/null 2>&1 8>&-; then
    "$wine" wineboot </dev/null >/dev/null 2>&1 8>&- || true
  fi
}

if [[ $display == 1 ]]; then
  start_server 5
  rc=0
  "$wine" "$@" 8>&- || rc=$?
  # The desktop process is bound to this display, which goes with xvfb-run.
  "$wineserver" -k </dev/null >/dev/null 2>&1 8>&- || true
  "$wineserver" -w </dev/null >/dev/null 2>&1 8>&- || true
  exit "$rc"
fi

start_server "$persist"
exec 8>&-
exec "$wine" "$@"
