#!/usr/bin/env bash
# Installs every Debian package Scribvane needs to build, test and run, the npm packages of the
# web gate (tests/web) and the S3-compatible server of the publishing tests
# (tests/publishing/s3server), each pinned by its package-lock.json. Safe to run again: when
# everything is already installed it does nothing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format clang-tidy libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-webengine-dev qt6-webengine-dev-tools
    qt6-svg-dev qt6-image-formats-plugins qt6-qpa-plugins libgl1-mesa-dev
    libgumbo-dev zlib1g-dev libvips-dev libvips-tools libimage-exiftool-perl
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth fonts-liberation fonts-dejavu-core fonts-urw-base35
    desktop-file-utils appstream
    hunspell-en-us hunspell-en-gb hunspell-de-de hunspell-fr hunspell-es
    chromium default-jre-headless
    libcurl4-openssl-dev libssl-dev qtkeychain-qt6-dev dbus-daemon gnome-keyring libsecret-1-0
    openssh-server openssh-client vsftpd lighttpd lighttpd-mod-webdav lighttpd-mod-openssl openssl
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
# Node may come from elsewhere with its own npm; Debian's is installed only when there is none.
if ! command -v npm >/dev/null 2>&1; then
    missing+=(nodejs npm)
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
    # The package scripts may start the servers as system services; the tests start their own.
    for service in ssh vsftpd lighttpd; do
        if command -v service >/dev/null && service "$service" status >/dev/null 2>&1; then
            "${sudo[@]}" service "$service" stop >/dev/null 2>&1 || true
        fi
    done
fi

# npm packages, exactly as each lock file names them, installed into the folder that uses them:
# the web gate's checkers (their install scripts are not needed) and the S3-compatible server.
install_npm_folder() {
    local dir stamp
    dir="$(cd "$(dirname "$0")/../$1" && pwd)"
    stamp="$dir/node_modules/.installed-from-package-lock.json"
    if ! cmp -s "$dir/package-lock.json" "$stamp" 2>/dev/null; then
        echo "Installing the npm packages of $1"
        (cd "$dir" && npm ci --no-audit --no-fund "${@:2}")
        cp "$dir/package-lock.json" "$stamp"
    fi
}
install_npm_folder tests/web --ignore-scripts
install_npm_folder tests/publishing/s3server
