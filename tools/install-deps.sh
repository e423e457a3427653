#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the game need, if any
# are missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config python3
  qt6-base-dev qt6-wayland libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
  libenet-dev libboost-dev libssl-dev libsqlite3-dev libicu-dev sqlite3
  libpqxx-dev postgresql
  xvfb xauth xdotool imagemagick x11-apps x11-utils
  weston
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libsdl2-dev openbox desktop-file-utils appstream dpkg-dev lintian
  emscripten node-acorn chromium python3-brotli python3-yaml
  brotli esbuild
)
# Node.js and npm come with the machine; where they are missing, Debian's.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser test's driver, at the version package-lock.json pins (it uses
# the system's Chromium and downloads no browser).
web_tests="$(dirname "$0")/../tests/web"
if [ ! -f "$web_tests/node_modules/.package-lock.json" ] ||
  [ "$web_tests/package-lock.json" -nt "$web_tests/node_modules/.package-lock.json" ]; then
  echo "Installing the browser test's npm packages"
  (cd "$web_tests" && npm ci --no-audit --no-fund --loglevel=error)
fi
