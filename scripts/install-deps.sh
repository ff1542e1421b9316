#!/usr/bin/env bash
# Installs what Korvanta needs to build and test on Debian 12, skipping what
# is already there. Runs apt-get as root, or through sudo.
set -euo pipefail

build_packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev
  qcoro-qt6-dev qtkeychain-qt6-dev libicu-dev libbenchmark-dev
  qt6-declarative-dev qt6-declarative-dev-tools qt6-svg-dev
  qt6-webengine-dev qt6-webchannel-dev
  qml6-module-qtquick qml6-module-qtqml-workerscript qml6-module-qtqml-models
  qml6-module-qtquick-shapes qml6-module-qtquick-controls qml6-module-qtquick-templates
  qml6-module-qtquick-layouts qml6-module-qtquick-window qml6-module-qtwebengine
  qml6-module-qtwebchannel libxcb1-dev
)
test_packages=(
  dbus dbus-x11 gnome-keyring libsecret-tools xvfb xauth libgl1-mesa-dri
  trayer xdotool x11-utils
)

wanted=("${build_packages[@]}")
if [ "${1:-}" = "--with-tests" ]; then
  wanted+=("${test_packages[@]}")
fi

missing=()
for pkg in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
