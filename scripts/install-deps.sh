#!/bin/sh
# Installs every Debian package that building, running and testing NetGlobe need.
# Idempotent: packages already present are left as they are. Runs as root, or through sudo.
set -eu

PACKAGES="
  cmake g++ make pkgconf
  qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libxcb1-dev
  libcurl4-openssl-dev libcpp-httplib-dev libzstd-dev
  fonts-liberation
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libsimdjson-dev libboost-dev
  xvfb xauth x11-utils x11-apps imagemagick xdotool xclip
  dbus-daemon python3-dbus python3-gi
  dpkg-dev file desktop-file-utils lintian openssl
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  echo "install-deps: all packages present"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
elif command -v sudo >/dev/null 2>&1; then
  SUDO="sudo"
else
  echo "install-deps: need root or sudo to install:$missing" >&2
  exit 1
fi

echo "install-deps: installing$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
