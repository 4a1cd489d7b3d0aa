#!/usr/bin/env bash
# Builds the Debian package and checks it: its contents, lintian, the desktop
# entry and metainfo, and that the installed copy runs, finds its data and
# reaches the recorder simulator without writing anything beside itself.
# As root the package is also installed with apt (and removed again).
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-$(nproc)}
echo "== package =="
# The tree scripts/test.sh built: the package adds no second build.
# PACKAGE_DEB checks a package already made.
deb=${PACKAGE_DEB:-$(PACKAGE_BUILD=${PACKAGE_BUILD:-build} scripts/build-package.sh)}
build=$(dirname "$deb")
echo "$deb"

fail() { echo "package check: $*" >&2; exit 1; }

dpkg-deb -c "$deb" | awk '{print $6}' >"$build/contents.txt"
for path in ./usr/bin/tessaro ./usr/bin/tessaro-cli ./usr/bin/tessaro-sim \
  ./usr/share/tessaro/DB/Master.mdb ./usr/share/tessaro/sim/wind.ini \
  ./usr/share/applications/org.tessaro.Tessaro.desktop \
  ./usr/share/metainfo/org.tessaro.Tessaro.metainfo.xml \
  ./usr/share/icons/hicolor/16x16/apps/tessaro.png ./usr/share/icons/hicolor/48x48/apps/tessaro.png \
  ./usr/share/icons/hicolor/256x256/apps/tessaro.png \
  ./usr/share/man/man1/tessaro-cli.1.gz ./usr/share/man/man1/tessaro-sim.1.gz \
  ./usr/share/doc/tessaro/copyright; do
  grep -qx "$path" "$build/contents.txt" || fail "$path is not in the package"
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no dependencies worked out"

lintian --fail-on error "$deb"

# The installed copy, unpacked into a scratch root.
root=$(mktemp -d)
home=$(mktemp -d)
cleanup() {
  [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$root" "$home"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.tessaro.Tessaro.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.tessaro.Tessaro.metainfo.xml"

# Runs the three programs of bin/ against the simulator of the same bin/;
# nothing may be written into the installed folders given after it.
check_installed() {
  local bin=$1
  shift
  for program in tessaro tessaro-cli tessaro-sim; do
    "$bin/$program" --version | grep -qx "$program [0-9.]*" || fail "$program --version"
  done
  local marker="$home/marker"
  touch "$marker"
  sleep 1
  "$bin/tessaro-sim" --tcp 0 --profile wind >"$home/sim.out" &
  sim_pid=$!
  local port=
  for _ in $(seq 50); do
    port=$(sed -n 's/^tcp 127\.0\.0\.1:\([0-9][0-9]*\)$/\1/p' "$home/sim.out")
    [ -n "$port" ] && break
    sleep 0.1
  done
  [ -n "$port" ] || fail "the installed simulator did not start"
  local line=(--tcp "127.0.0.1:$port")
  HOME="$home" "$bin/tessaro-cli" "${line[@]}" probe || fail "probe of the installed copy"
  # rings and collect need the definitions database and a work folder.
  HOME="$home" "$bin/tessaro-cli" "${line[@]}" rings >/dev/null || fail "rings"
  HOME="$home" "$bin/tessaro-cli" "${line[@]}" collect --ring NEW --form corvex \
    --csv "$home/new.csv" >/dev/null || fail "collect"
  kill "$sim_pid"
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=
  local written
  written=$(find "$@" -newer "$marker" \( -type f -o -type d \) -print)
  [ -z "$written" ] || fail "written into the installed copy: $written"
  echo "installed copy in $bin: versions, probe, rings and collect pass"
}
check_installed "$root/usr/bin" "$root/usr"

if [ "$(id -u)" -eq 0 ] && [ "${PACKAGE_APT_INSTALL:-1}" = 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y --no-install-recommends "./$deb" >/dev/null
  check_installed /usr/bin /usr/bin /usr/share/tessaro
  apt-get remove -y tessaro >/dev/null
fi
