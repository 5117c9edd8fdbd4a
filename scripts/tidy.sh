#!/usr/bin/env bash
# Runs clang-tidy with the checked-in .clang-tidy over every source file of the program (the
# tests and benchmarks are left to the compiler's warnings: tidying them would double CI's
# time), using the compile commands of a configured build folder (default: build). Fails on
# any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/compile_commands.json" ]; then
    echo "No $build/compile_commands.json: configure first (cmake --preset default)." >&2
    exit 2
fi
git ls-files '*.cpp' | grep -v '^tests/\|^benchmarks/' |
    xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet --warnings-as-errors='*' 2>/dev/null
