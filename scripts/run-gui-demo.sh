#!/usr/bin/env bash
# Starts the GUI against the recorder simulator over TCP on 127.0.0.1, with a
# throw-away HOME (settings, runtime folder) so the user's own settings and a
# running copy of Tessaro are never touched. Expects a built tree; set
# BUILD_DIR to use another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${BUILD_DIR:-build}/bin
for program in tessaro tessaro-sim; do
  [ -x "$bin/$program" ] || { echo "$bin/$program is missing: build first" >&2; exit 1; }
done

demo_home=$(mktemp -d)
cleanup() {
  [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$demo_home"
}
trap cleanup EXIT

"$bin/tessaro-sim" --tcp 0 >"$demo_home/sim.out" &
sim_pid=$!
port=
for _ in $(seq 50); do
  port=$(sed -n 's/^tcp 127\.0\.0\.1:\([0-9][0-9]*\)$/\1/p' "$demo_home/sim.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "the simulator did not start" >&2; exit 1; }
echo "recorder simulator on 127.0.0.1:$port"

ini_dir="$demo_home/Documents/Tessaro/INI"
mkdir -p "$ini_dir" "$demo_home/run"
chmod 700 "$demo_home/run"
# Only the TCP line is set; everything else keeps its default.
printf '[ComPort]\nPort=TCP/IP\n[TcpPort]\nIpAddr=127.0.0.1\nIpPort=%s\n' "$port" \
  >"$ini_dir/TESSARO.INI"

HOME="$demo_home" XDG_CONFIG_HOME="$demo_home/.config" XDG_RUNTIME_DIR="$demo_home/run" \
  "$bin/tessaro"
