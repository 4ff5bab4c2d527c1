#!/usr/bin/env bash
# Builds the reader fuzz targets of fuzz/ with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for FUZZ_SECONDS (default 30), all at
# once, from a corpus seeded with the matching files of tests/data and fuzz/seeds. A crash, a
# sanitizer report or a hang stops with the fuzzer's report and exit status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-30}"
build="${FUZZ_BUILD_DIR:-build-fuzz}"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVIMAR_FUZZ=ON \
    -DBREVIMAR_BUILD_TESTS=OFF -DBREVIMAR_BUILD_BENCH=OFF -DBREVIMAR_BUILD_GUI=OFF \
    $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) >/dev/null
# Only the fuzz programs: the rest of the tree is built and tested elsewhere.
cmake --build "$build" --target $(cut -d'|' -f1 "$build/fuzz_targets.txt" | sed 's/^/fuzz_/')
pids=()
names=()
while IFS='|' read -r name seeds; do
    [ -n "$name" ] || continue
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    [ -z "$seeds" ] || find tests/data -maxdepth 1 -name "$seeds" -exec cp {} "$corpus/" \;
    [ ! -d "fuzz/seeds/$name" ] || cp fuzz/seeds/"$name"/* "$corpus/"
    "$build/fuzz/fuzz_$name" "$corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 >"$build/fuzz_$name.log" 2>&1 &
    pids+=($!)
    names+=("$name")
done <"$build/fuzz_targets.txt"
status=0
for k in "${!pids[@]}"; do
    if wait "${pids[$k]}"; then
        echo "fuzz_${names[$k]}: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz_${names[$k]}.log" | grep -o '[0-9]*$') runs, no fault"
    else
        echo "fuzz_${names[$k]} found a fault:"
        tail -n 60 "$build/fuzz_${names[$k]}.log"
        status=1
    fi
done
exit "$status"
