#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz, clang with AddressSanitizer and
# UBSan) and runs each of them:
#   bash scripts/fuzz.sh        a fixed number of inputs per target, from its
#                               committed seeds (what the test command runs)
#   bash scripts/fuzz.sh 600    each target for 600 seconds instead (by hand);
#                               new inputs collect in the build folder
# A target that fails leaves its input as crash-* in build/fuzz/fuzz: keep it
# under fuzz/corpus/<target>/ and as a unit test once the fault is mended.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${QELTRIN_FUZZ_BUILD:-build/fuzz}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2

if (($# == 0)); then
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
    exit
fi
seconds=$1
status=0
for target in "$build"/fuzz/fuzz_*; do
    [[ -x $target ]] || continue
    name=${target##*/fuzz_}
    work=$build/fuzz/corpus/$name
    mkdir -p "$work"
    echo "== fuzz_$name for $seconds s"
    (cd "$build/fuzz" && "./fuzz_$name" -max_total_time="$seconds" -max_len=4096 \
        -print_final_stats=1 "corpus/$name" "$OLDPWD/fuzz/corpus/$name") 2>&1 |
        grep -E '^(stat::number_of_executed_units|Done|==[0-9]+==ERROR|SUMMARY)' || status=1
done
exit "$status"
