#!/usr/bin/env bash
# Builds everything and runs every test: unit and window-level tests in a
# normal and a sanitizer build, the end-to-end tests under Xvfb, and a short
# fuzzing run of the file readers; then the Windows build, its unit tests and
# a smoke test of its programs under wine.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
# Runs a build step quietly, showing its output only when it fails.
quiet() {
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then cat "$log"; rm -f "$log"; return 1; fi
  rm -f "$log"
}
jobs=2

[ -f build/CMakeCache.txt ] || quiet cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
quiet cmake --build build -j$jobs

[ -f build-asan/CMakeCache.txt ] || quiet cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug \
  -DSANITIZE=ON -DBUILD_BENCH=OFF
quiet cmake --build build-asan -j$jobs

export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

echo "== unit and window-level tests (sanitizers) =="
ctest --test-dir build-asan -L unit --output-on-failure -j$jobs
if [ -x tools/fuzz.sh ]; then
  echo "== fuzzing the file readers =="
  log=$(mktemp)
  if tools/fuzz.sh build-fuzz >"$log" 2>&1; then
    grep -E '^Done [0-9]+ runs' "$log" || true
    rm -f "$log"
  else
    tail -60 "$log"; rm -f "$log"; exit 1
  fi
fi
echo "== all tests =="
# The end-to-end tests run as on a fresh machine: no locale set.
env -u LANG -u LANGUAGE -u LC_ALL -u LC_CTYPE ctest --test-dir build --output-on-failure
echo "== the Windows build under wine =="
# The Windows programs, their installer and the portable unit tests,
# cross-built; the tests and the smoke test run under wine.
env -u LANG -u LANGUAGE -u LC_ALL -u LC_CTYPE tools/windows.sh --test --quiet build-win
