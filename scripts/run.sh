#!/usr/bin/env bash
# Builds Tessaro and runs it against the built-in recorder simulator, in a
# throw-away HOME so the user's own settings are never touched. With a display
# it starts the GUI; without one it talks to the simulator headless.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-$(nproc)}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$JOBS"

demo_home=$(mktemp -d)
sim_out="$demo_home/sim.out"
cleanup() {
  [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

build/bin/tessaro-sim --tcp 0 >"$sim_out" &
sim_pid=$!
for _ in $(seq 50); do
  grep -q '^tcp ' "$sim_out" 2>/dev/null && break
  sleep 0.1
done
port=$(sed -n 's/^tcp 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$sim_out")
[ -n "$port" ] || { echo "the simulator did not start" >&2; exit 1; }
echo "recorder simulator on 127.0.0.1:$port"

mkdir -p "$demo_home/Documents/Tessaro/INI"
cat >"$demo_home/Documents/Tessaro/INI/TESSARO.INI" <<INI
[Path]
Data=$demo_home/Documents/Tessaro
[ComPort]
Port=TCP/IP
Baud=38400
Data=4
Stop=0
Parity=0
Over=3
[TcpPort]
IpAddr=127.0.0.1
IpPort=$port
INI

if [ -n "${DISPLAY:-}" ] && [ -x build/bin/tessaro ]; then
  HOME="$demo_home" XDG_RUNTIME_DIR="$demo_home" build/bin/tessaro
else
  export HOME="$demo_home"
  build/bin/tessaro-cli probe && echo "probe: the recorder answers"
  build/bin/tessaro-cli send ver rtcr romr100
  build/bin/tessaro-cli rings
  # The NEW ring into a CSV file named in the data folder, as the dialog does.
  csv=$(build/bin/tessaro-cli collect --ring NEW --form corvex | head -n 1)
  echo "collected the NEW ring into $csv"
fi
