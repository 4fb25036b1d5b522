#!/usr/bin/env bash
# Fuzzes the order file reader for 60 seconds under AddressSanitizer and UndefinedBehaviorSanitizer.
# Builds the core alone with clang in a build folder of its own ("$BUILD_DIR-fuzz") and fails on
# any crash, hang, leak or sanitizer report. The seeds in fuzz/corpus stay untouched; what the
# fuzzer finds goes into the build folder.
set -euo pipefail
cd "$(dirname "$0")/../.."

BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-2}
FUZZ_BUILD="${BUILD_DIR}-fuzz"
SECONDS_TO_RUN=${FUZZ_SECONDS:-60}

runtime="$(clang++ -print-runtime-dir 2>/dev/null)/libclang_rt.fuzzer-$(uname -m).a"
if [ ! -f "$runtime" ]; then
    echo "clang's libFuzzer runtime is missing ($runtime): install libclang-rt-14-dev" >&2
    exit 1
fi

CC=clang CXX=clang++ cmake -S . -B "$FUZZ_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVALMO_BUILD_GUI=OFF -DVALMO_BUILD_TESTS=OFF -DVALMO_BUILD_BENCH=OFF -DVALMO_FUZZ=ON
cmake --build "$FUZZ_BUILD" -j "$JOBS" --target OrderFileReaderFuzzer DocumentJsonFuzzer

run="$FUZZ_BUILD/fuzz-run"
rm -rf "$run"
mkdir -p "$run/corpus" "$run/artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
"$FUZZ_BUILD/fuzz/OrderFileReaderFuzzer" "$run/corpus" fuzz/corpus \
    -max_total_time="$SECONDS_TO_RUN" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -artifact_prefix="$run/artifacts/" -print_final_stats=1
# The report parser, seeded with the bank's example files, for 25 s.
cmake --build "$FUZZ_BUILD" -j "$JOBS" --target ReportParserFuzzer && mkdir -p "$run/report-corpus" &&
    "$FUZZ_BUILD/fuzz/ReportParserFuzzer" "$run/report-corpus" tests/data/bank -max_total_time=25 -timeout=10 \
        -rss_limit_mb=2048 -max_len=8192 -artifact_prefix="$run/artifacts/" -print_final_stats=1
mkdir -p "$run/json" && "$FUZZ_BUILD/fuzz/DocumentJsonFuzzer" "$run/json" fuzz/json-corpus -max_total_time=25 -timeout=10 -rss_limit_mb=2048 -max_len=8192 -artifact_prefix="$run/artifacts/" -print_final_stats=1
echo "fuzzing found nothing in ${SECONDS_TO_RUN} s"
