# Sourced by the demo scripts: starts the recorder simulator on 127.0.0.1 and
# prepares a throw-away HOME whose settings point Tessaro at it, so the
# user's own settings and a running copy of Tessaro are never touched.
# Needs $bin (the folder of the built programs). Sets demo_home and port.

demo_home=$(mktemp -d)
demo_cleanup() {
  [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$demo_home"
}
trap demo_cleanup EXIT

"$bin/tessaro-sim" --tcp 0 ${SIM_PROFILE:+--profile "$SIM_PROFILE"} >"$demo_home/sim.out" &
sim_pid=$!
port=
for _ in $(seq 50); do
  port=$(sed -n 's/^tcp 127\.0\.0\.1:\([0-9][0-9]*\)$/\1/p' "$demo_home/sim.out")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "the simulator did not start" >&2; exit 1; }
echo "recorder simulator on 127.0.0.1:$port"

mkdir -p "$demo_home/Documents/Tessaro/INI" "$demo_home/run" "$demo_home/data"
chmod 700 "$demo_home/run"
# The TCP line and the data folder; everything else keeps its default.
printf '[Path]\nData=%s\n[ComPort]\nPort=TCP/IP\n[TcpPort]\nIpAddr=127.0.0.1\nIpPort=%s\n' \
  "$demo_home/data" "$port" >"$demo_home/Documents/Tessaro/INI/TESSARO.INI"

export HOME="$demo_home" XDG_CONFIG_HOME="$demo_home/.config" XDG_RUNTIME_DIR="$demo_home/run"
