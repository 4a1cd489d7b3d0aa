#!/usr/bin/env bash
# Installs what building, testing and running Tessaro needs on Debian.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  build-essential cmake ninja-build pkg-config git \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libsqlite3-dev sqlite3 libcli11-dev \
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n \
  qt6-charts-dev qt6-svg-dev libqt6opengl6-dev \
  xvfb xauth fonts-noto-cjk \
  clang libclang-rt-14-dev
# Building and checking the Debian package (scripts/package-check.sh).
$SUDO apt-get install -y --no-install-recommends \
  dpkg-dev fakeroot file help2man lintian desktop-file-utils appstream
# pdfinfo and pdftotext read back the printed PDF in the GUI tests.
$SUDO apt-get install -y --no-install-recommends poppler-utils
