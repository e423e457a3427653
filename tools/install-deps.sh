#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the game need, if any
# are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config python3
  qt6-base-dev qt6-wayland libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
  xvfb xauth xdotool imagemagick x11-apps x11-utils
  weston
  libsdl2-dev openbox desktop-file-utils appstream dpkg-dev lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
