#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed time (default 30 s).
# A finding fails the run and prints the crashing input. Usage:
#   tests/fuzz/run-fuzzers.sh [seconds] [target ...]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-30}
shift || true

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=()
    for binary in build-fuzz/fuzz/fuzz_*; do
        targets+=("$(basename "$binary")")
    done
fi

status=0
passed=0
failed=0
for target in "${targets[@]}"; do
    name=${target#fuzz_}
    seeds=tests/fuzz/corpus/$name
    work=$(mktemp -d)
    artifacts=$(mktemp -d)
    mkdir -p "$seeds"
    echo "== $target for ${seconds}s"
    if ! build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "$seeds" 2>"$work.log"; then
        tail -n 60 "$work.log"
        for crash in "$artifacts"/*; do
            [ -f "$crash" ] || continue
            echo "-- crashing input $(basename "$crash") (base64); keep it in $seeds:"
            base64 "$crash"
        done
        status=1
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
        grep -E '^stat::number_of_executed_units|^Done' "$work.log" || true
    fi
    rm -rf "$work" "$work.log" "$artifacts"
done
echo "fuzz: $passed passed, $failed failed"
exit $status
