#!/usr/bin/env bash
# Renders the demo clips into out/: a plucked-string guitar clip made here,
# through the native plug-in at a few settings. Expects scripts/build.sh first.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
cd "$repo"
mkdir -p out
build/native/tools/demo/make_guitar_clip out/guitar.wav
settings=(
  "clean      Drive=0 Level=0.8 Low=0.3 High=0.6"
  "crunch     Drive=0.35 Level=0.7"
  "full-drive Drive=1 Level=0.6 Mid=0.65"
  "bypass     Effect=Off"
)
for line in "${settings[@]}"; do
  read -r name params <<<"$line"
  # shellcheck disable=SC2086
  dist/ostrabel-host render dist/Ostrabel.so out/guitar.wav "out/ostrabel-$name.wav" $params
done
echo "demo: wrote $(cd out && ls *.wav | tr '\n' ' ')"
