#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, where
# they are missing. Runs apt-get only when something is missing (needs root).
set -euo pipefail
packages=(build-essential cmake pkg-config git
          libsdl2-dev libfreetype-dev libfontconfig-dev fonts-ipafont-gothic libpng-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xdotool imagemagick)
if [ "${ROSTER_WINDOWS:-0}" = 1 ]; then
  packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
