#!/usr/bin/env bash
# Installs what Celvane needs to build and test on Debian 12 (when something is missing),
# then configures and builds it in build/ (release with debug info): everything, or only the
# targets named as arguments (tools/setup.sh celvane).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${CELVANE_BUILD_DIR:-$root/build}"

packages=(
  build-essential cmake ninja-build pkg-config
  qtbase5-dev qtbase5-dev-tools libqt5opengl5-dev
  libboost-dev libgl-dev libglu1-mesa-dev
  libgl1-mesa-dri xvfb xauth
  libbenchmark-dev
  libgdsii-dev python3-gdspy
  ngspice
  parallel python3-matplotlib python3-vtk9 python3-scipy
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCELVANE_WERROR=ON
if (($#)); then
  cmake --build "$build" --parallel --target "$@"
else
  cmake --build "$build" --parallel
fi
