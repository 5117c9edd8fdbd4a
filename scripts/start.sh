#!/usr/bin/env bash
# Installs what is needed, builds, and starts the wizard.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
bin=build/bin

if [ ! -x "$bin/scribvane" ]; then
    echo "The wizard window is not built yet; generating the sample letter instead."
elif [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset), so the wizard cannot open."
    echo "Generating the sample letter headlessly instead."
else
    # The browser engine refuses its sandbox when run as root.
    if [ "$(id -u)" -eq 0 ]; then
        export QTWEBENGINE_DISABLE_SANDBOX=1
    fi
    exec "$bin/scribvane"
fi

if [ -x "$bin/scribvane-generate" ]; then
    out="$PWD/build/sample-letter/index.html"
    mkdir -p "$(dirname "$out")"
    "$bin/scribvane-generate" --config "$bin/config.dat" --output "$out"
    echo "Open $out in a browser to see it."
fi
