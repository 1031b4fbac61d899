#!/usr/bin/env bash
# Sets up a Debian 12 machine to build and test Ostrabel, from nothing:
#  - adds a deb-src entry mirroring the machine's own Debian sources,
#  - installs the Debian packages the builds and tests need (only those missing),
#  - builds static zlib, libpng and libjpeg-turbo for the MinGW-w64 targets
#    from Debian's source packages into .cache/mingw/<triple>.
# Idempotent: a second run installs and builds nothing and takes seconds.
# Runs as root. Logs of each step: .cache/logs/setup/. OSTRABEL_JOBS sets the
# build parallelism (default 2).
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

t0=$SECONDS
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd -P)
lib=$repo/scripts/lib
# shellcheck source=lib/log.sh
source "$lib/log.sh"
# shellcheck source=lib/apt.sh
source "$lib/apt.sh"
# shellcheck source=lib/mingw-deps.sh
source "$lib/mingw-deps.sh"

export OSTRABEL_LOG_DIR=$repo/.cache/logs/setup
mkdir -p "$OSTRABEL_LOG_DIR"

# One set-up at a time per work tree.
exec 9>"$repo/.cache/setup.lock"
if ! flock -n 9; then
  echo "setup: waiting for another set-up in this tree"
  flock 9
fi

ensure_deb_src
install_packages
build_mingw_deps "$repo"

printf 'setup: done in %d s\n' $((SECONDS - t0))
