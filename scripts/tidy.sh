#!/usr/bin/env bash
# Runs clang-tidy with the checked-in .clang-tidy over every source file of the program and
# its tests, using the compile commands of a configured build folder (default: build).
# Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/compile_commands.json" ]; then
    echo "No $build/compile_commands.json: configure first (cmake --preset default)." >&2
    exit 2
fi
# Generated moc and resource files are not ours to tidy.
git ls-files '*.cpp' | grep -v '^tests/fuzz/' |
    xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet --warnings-as-errors='*' 2>/dev/null
