#!/usr/bin/env bash
# Installs every Debian package Scribvane needs to build, test and run, and the npm packages
# of the web gate (tests/web, pinned by its package-lock.json). Safe to run again: when
# everything is already installed it does nothing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format clang-tidy libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-webengine-dev qt6-webengine-dev-tools
    qt6-svg-dev qt6-image-formats-plugins qt6-qpa-plugins libgl1-mesa-dev
    libgumbo-dev zlib1g-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth fonts-liberation fonts-dejavu-core
    desktop-file-utils appstream
    hunspell-en-us hunspell-en-gb hunspell-de-de hunspell-fr hunspell-es
    chromium default-jre-headless nodejs
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
# Debian's nodejs comes without npm; a Node.js that brings its own npm needs no other.
if ! command -v npm >/dev/null 2>&1 &&
    ! dpkg-query -W -f='${Status}' npm 2>/dev/null | grep -q 'install ok installed'; then
    missing+=(npm)
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The web gate's checkers, exactly as the lock file names them, installed into tests/web.
web="$(cd "$(dirname "$0")/../tests/web" && pwd)"
stamp="$web/node_modules/.installed-from-package-lock.json"
if ! cmp -s "$web/package-lock.json" "$stamp" 2>/dev/null; then
    echo "Installing the web gate's npm packages into tests/web"
    (cd "$web" && npm ci --ignore-scripts --no-audit --no-fund)
    cp "$web/package-lock.json" "$stamp"
fi
