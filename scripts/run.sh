#!/usr/bin/env bash
# The main job: sets up the machine, builds dist/ and shows what a host sees
# of each plug-in build (then renders the demo clips, when the build has them).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
cd "$repo"
"$repo/scripts/setup.sh"
"$repo/scripts/build.sh"

echo
echo "== Ostrabel.so, as a Linux host loads it"
dist/ostrabel-host info dist/Ostrabel.so
echo
echo "== Ostrabel_x64.dll, as a 64-bit Windows host loads it (under Wine)"
"$repo/scripts/wine.sh" build/win64/tools/host/ostrabel-host.exe info dist/Ostrabel_x64.dll | tr -d '\r'
echo
echo "== Ostrabel_x86.dll, as a 32-bit Windows host loads it"
if [[ -x scripts/guest/run.sh && ${OSTRABEL_SKIP_GUEST:-0} != 1 ]]; then
  stage=$(mktemp -d "$repo/build/guest-share.XXXXXX")
  cp build/win32/tools/host/ostrabel-host.exe dist/Ostrabel_x86.dll "$stage/"
  # Programs run from the guest's own disk: images mapped from the shared folder lose pages.
  scripts/guest/run.sh "$stage" sh -c 'mkdir -p /tmp/run && cp /work/* /tmp/run/ && cd /tmp/run &&
    wine ostrabel-host.exe info Ostrabel_x86.dll' | tr -d '\r'
  rm -rf "$stage"
else
  tests/static/check-dll.sh dist/Ostrabel_x86.dll i386
fi

if [[ -x scripts/demo.sh ]]; then
  echo
  scripts/demo.sh
fi
