#!/usr/bin/env bash
# Installs what building and testing Tilora needs on Debian 12, as root.
# Packages already present are not touched; apt-get runs only when one is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang libclang-rt-14-dev
  libjpeg62-turbo-dev libpng-dev libtiff-dev zlib1g-dev libopenjp2-7-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  wine wine64 wine64-tools libwine-dev
  xvfb xdotool x11-apps imagemagick poppler-utils fonts-liberation fonts-wine
  cups printer-driver-cups-pdf g++-mingw-w64-x86-64
  libsane-dev sane-utils libfreetype-dev
  libexif-dev libcairo2-dev libisal-dev hyperfine
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages: ${missing[*]}; run as root to install them" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
