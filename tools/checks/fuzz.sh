#!/usr/bin/env bash
# Fuzzes each target in TARGETS for FUZZ_SECONDS seconds (25 by default), from seed FUZZ_SEED, under AddressSanitizer and
# UndefinedBehaviorSanitizer, one after the other. Builds the core alone with clang in a build folder
# of its own ("$BUILD_DIR-fuzz") and fails on any crash, hang, leak or sanitizer report.
#
# Inputs may grow to 40 kB, past the most text one row holds (32 767 characters).
#
# A target is a libFuzzer executable built by fuzz/CMakeLists.txt. Its seeds are fuzz/corpus/<target>/
# when that folder exists, plus the folders named after it in its entry below. The seeds stay
# untouched; what the fuzzer finds goes into the build folder. To add a fuzzer, add its target to
# fuzz/CMakeLists.txt and one entry here.
set -euo pipefail
cd "$(dirname "$0")/../.."

# One entry a target: its name, then any further seed folders.
TARGETS=(
    "OrderFileReaderFuzzer tests/data/bank"
    "DocumentJsonFuzzer"
    "ReportParserFuzzer tests/data/bank"
    "SealFuzzer tests/data/bank"
    "CsvImportFuzzer tests/data/csv"
)

BUILD_DIR=${BUILD_DIR:-build}
JOBS=${JOBS:-2}
FUZZ_BUILD="${BUILD_DIR}-fuzz"
SECONDS_TO_RUN=${FUZZ_SECONDS:-25}
# A fixed seed makes a failing run repeatable on another machine; FUZZ_SEED=0 draws a new one each
# run, for longer searches by hand.
SEED=${FUZZ_SEED:-1}

runtime="$(clang++ -print-runtime-dir 2>/dev/null)/libclang_rt.fuzzer-$(uname -m).a"
if [ ! -f "$runtime" ]; then
    echo "clang's libFuzzer runtime is missing ($runtime): install libclang-rt-14-dev" >&2
    exit 1
fi

names=()
for entry in "${TARGETS[@]}"; do
    read -r name _ <<<"$entry"
    names+=("$name")
done

CC=clang CXX=clang++ cmake -S . -B "$FUZZ_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVALMO_BUILD_GUI=OFF -DVALMO_BUILD_TESTS=OFF -DVALMO_BUILD_BENCH=OFF -DVALMO_FUZZ=ON
cmake --build "$FUZZ_BUILD" -j "$JOBS" --target "${names[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for entry in "${TARGETS[@]}"; do
    read -r name extra <<<"$entry"
    run="$FUZZ_BUILD/fuzz-run/$name"
    rm -rf "$run"
    mkdir -p "$run/corpus" "$run/artifacts"
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds+=("fuzz/corpus/$name")
    for folder in $extra; do
        seeds+=("$folder")
    done
    echo "== $name: ${SECONDS_TO_RUN} s"
    "$FUZZ_BUILD/fuzz/$name" "$run/corpus" "${seeds[@]}" \
        -max_total_time="$SECONDS_TO_RUN" -seed="$SEED" -timeout=10 -rss_limit_mb=2048 -max_len=40960 \
        -artifact_prefix="$run/artifacts/" -print_final_stats=1
    echo "$name found nothing in ${SECONDS_TO_RUN} s"
done
