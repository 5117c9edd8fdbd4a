#!/usr/bin/env bash
# Configures and builds Scribvane into build/ (the program folder is build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build
