#!/bin/sh
# Builds the fuzz targets with clang and the address and undefined-behaviour
# sanitizers, and runs the MAP reader's target for a short fixed time.
#
#   tools/fuzz.sh [build-dir]      (default: build-fuzz in the repository)
#
# FUZZ_SECONDS changes the running time (default 30). Exits non-zero when the
# build fails or the fuzzer finds a crash, a sanitizer report or a broken
# promise of the reader; the input that did it is left in <build-dir>/fuzz/.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-30}

cmake -S "$root" -B "$build" -DFUZZ=ON -DBUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" -j2 --target map_fuzz

# New inputs go to a scratch corpus in the build folder; the committed seeds
# are only read.
corpus="$build/fuzz/map_corpus"
mkdir -p "$corpus"
"$build/fuzz/map_fuzz" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/fuzz/" \
    "$corpus" "$root/fuzz/corpus/map"
