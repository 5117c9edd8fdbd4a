#!/usr/bin/env bash
# Configures and builds Scribvane into build/ (the program folder is build/bin). Extra
# arguments go to the configure step, e.g. -DCMAKE_CXX_COMPILER_LAUNCHER=ccache.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default "$@"
cmake --build --preset default
