#!/bin/sh
# Builds the fuzz targets with clang and the address and undefined-behaviour
# sanitizers, and runs every palette reader's target in turn, sharing one
# fixed time budget.
#
#   tools/fuzz.sh [build-dir]      (default: build-fuzz in the repository)
#
# FUZZ_SECONDS changes the whole budget (default 60, split evenly between the
# readers). Exits non-zero when the build fails or a fuzzer finds a crash, a
# sanitizer report, a single allocation over 64 MB (readers keep memory
# bounded) or a broken promise of a reader; the input that did it is
# left in <build-dir>/fuzz/ with the reader's name in front.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
readers="map ggr gpl ugr act svg png curves tiff"

count=0
targets=""
for r in $readers; do
  count=$((count + 1))
  targets="$targets ${r}_fuzz"
done
each=$((seconds / count))
[ "$each" -ge 1 ] || each=1

cmake -S "$root" -B "$build" -DFUZZ=ON -DBUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets

# New inputs go to a scratch corpus per reader in the build folder; the
# committed seeds are only read.
for r in $readers; do
  corpus="$build/fuzz/${r}_corpus"
  mkdir -p "$corpus"
  echo "== $r reader: $each s =="
  "$build/fuzz/${r}_fuzz" -max_total_time="$each" -max_len=16384 -timeout=10 \
      -rss_limit_mb=2048 -malloc_limit_mb=64 -print_final_stats=1 -artifact_prefix="$build/fuzz/${r}-" \
      "$corpus" "$root/fuzz/corpus/$r"
done
