#!/usr/bin/env bash
# Installs every Debian package Scribvane needs to build, test and run. Safe to run again:
# when everything is already installed it does nothing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format clang-tidy libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-webengine-dev qt6-webengine-dev-tools
    qt6-svg-dev qt6-image-formats-plugins qt6-qpa-plugins libgl1-mesa-dev
    libgumbo-dev zlib1g-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth fonts-liberation fonts-dejavu-core fonts-urw-base35
    desktop-file-utils appstream
    hunspell-en-us hunspell-en-gb hunspell-de-de hunspell-fr hunspell-es
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
