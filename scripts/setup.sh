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
    xvfb xauth fonts-liberation fonts-dejavu-core
    desktop-file-utils appstream
    hunspell-en-us hunspell-en-gb hunspell-de-de hunspell-fr hunspell-es
    libcurl4-openssl-dev libssl-dev qtkeychain-qt6-dev
    openssh-server openssh-client vsftpd lighttpd lighttpd-mod-webdav openssl
)

# The S3-compatible server the publishing tests start, pinned in the project's own folder.
install_test_servers() {
    local servers
    servers="$(dirname "$0")/../tests/publishing/s3server"
    if [ ! -x "$servers/node_modules/.bin/s3rver" ] && command -v npm >/dev/null; then
        (cd "$servers" && npm ci --no-audit --no-fund)
    fi
}

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
# Node may come from elsewhere with its own npm; Debian's is installed only when there is none.
if ! command -v npm >/dev/null; then
    missing+=(nodejs npm)
fi
if [ ${#missing[@]} -eq 0 ]; then
    install_test_servers
    exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
# The package scripts may start the servers as system services; the tests start their own.
for service in ssh vsftpd lighttpd; do
    if command -v service >/dev/null && service "$service" status >/dev/null 2>&1; then
        "${sudo[@]}" service "$service" stop >/dev/null 2>&1 || true
    fi
done
install_test_servers
