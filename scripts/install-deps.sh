#!/usr/bin/env bash
# Installs the Debian packages Stravo needs to build, run and test, only those
# that are missing; `apt-get update` runs first when something must be installed.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libopenal-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool x11-apps imagemagick sox
  fonts-dejavu-core libfreetype-dev
  libcli11-dev libpng-dev desktop-file-utils appstream dpkg-dev python3-matplotlib
  libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpq-dev libssl-dev postgresql chromium python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
