#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (GoogleTest and Qt Test) with CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --preset default
