#!/usr/bin/env bash
# Screenshots under Xvfb of the GUI telling why a serial port did not open:
# a missing device, a pseudo-terminal the user may not open, and one held by
# another process. Needs a built tree (BUILD_DIR, default build), Xvfb, xwd
# (x11-apps) and netpbm; writes OUT (default port-diagnoses/) missing.png, denied.png,
# busy.png. Started as root, it runs the GUI (and the holder of the busy
# port) as the user nobody: root may open any device.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${BUILD_DIR:-build}/bin")
out=$(realpath -m "${OUT:-port-diagnoses}")
mkdir -p "$out"
work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x700x24 -ac -nolisten tcp &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

# A pseudo-terminal served by the simulator; prints its path.
start_pty() {
  "$bin/tessaro-sim" --pty >"$work/sim-$1.out" &
  pids+=($!)
  for _ in $(seq 50); do
    local path
    path=$(sed -n 's/^pty \(\/dev\/pts\/[0-9]*\)$/\1/p' "$work/sim-$1.out")
    [ -n "$path" ] && { echo "$path"; return; }
    sleep 0.1
  done
  echo "the simulator did not start" >&2
  exit 1
}

# Starts the GUI on port $2 as user $3 (empty: this user) and saves the
# screen as $1.png once the question about the port is up.
shoot() {
  local name=$1 port=$2 user=${3:-}
  local home="$work/home-$name"
  mkdir -p "$home/Documents/Tessaro/INI" "$home/run"
  printf '[ComPort]\nPort=%s\n' "$port" >"$home/Documents/Tessaro/INI/TESSARO.INI"
  chmod -R 777 "$home"
  chmod 700 "$home/run"
  local run=(env HOME="$home" XDG_RUNTIME_DIR="$home/run" XDG_CONFIG_HOME="$home/.config" "$bin/tessaro")
  if [ -n "$user" ]; then
    chown -R "$user" "$home"
    run=(runuser -u "$user" -- "${run[@]}")
  fi
  "${run[@]}" &
  local gui=$!
  pids+=($gui)
  # The question is up once the screen stops changing; a fresh home first
  # builds its font cache, which takes a while on a busy machine.
  sleep "${SHOT_DELAY:-10}"
  local previous=
  for _ in $(seq 20); do
    sleep 1
    xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$work/shot.png"
    local sum
    sum=$(md5sum <"$work/shot.png")
    [ "$sum" = "$previous" ] && break
    previous=$sum
  done
  cp "$work/shot.png" "$out/$name.png"
  kill "$gui" 2>/dev/null || true
  echo "$out/$name.png"
}

user=
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  user=nobody
  as_user=(runuser -u nobody --)
fi

shoot missing /dev/ttyUSB-TESSARO-NONE "$user"

denied=$(start_pty denied)
chmod 000 "$denied"
shoot denied "$denied" "$user"

busy=$(start_pty busy)
# Another program holds the port open and locked.
[ -n "$user" ] && chown "$user" "$busy"
"${as_user[@]}" flock -x "$busy" sleep 60 >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
shoot busy "$busy" "$user"
