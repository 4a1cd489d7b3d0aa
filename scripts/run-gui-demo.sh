#!/usr/bin/env bash
# Starts the GUI against the recorder simulator over TCP on 127.0.0.1, in a
# throw-away HOME. Expects a built tree; set BUILD_DIR to use another build
# folder than build/, SIM_PROFILE to pick a simulator profile.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${BUILD_DIR:-build}/bin
for program in tessaro tessaro-sim; do
  [ -x "$bin/$program" ] || { echo "$bin/$program is missing: build first" >&2; exit 1; }
done
source scripts/lib/demo-sim.sh
"$bin/tessaro"
