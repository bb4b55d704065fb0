#!/usr/bin/env bash
# Builds the Windows programs and their installer on Linux, with Debian's
# MinGW-w64 compilers:
#
#   tools/windows.sh [--test] [--quiet] [BUILD_DIR]
#
# BUILD_DIR (build-win by default) ends up with dist/huewright.exe,
# knotloom.exe, curvetoy.exe, palette-convert.exe and
# palette-tools-setup.exe. --test also runs the unit tests and the smoke
# test of the programs under wine; --quiet shows the build's output only
# when it fails. The packages it needs are installed with apt-get when
# missing.
set -euo pipefail
cd "$(dirname "$0")/.."

test=0 quiet=0
while [ $# -gt 0 ]; do
  case $1 in
    --test) test=1 ;;
    --quiet) quiet=1 ;;
    *) break ;;
  esac
  shift
done
build=${1:-build-win}

# wine draws the icons during the build (the drawing code is the programs'
# own) and runs the tests; googletest brings GoogleTest's source.
packages=(cmake make g++-mingw-w64-x86-64-posix wine64 nsis googletest)
[ $test -eq 1 ] && packages+=(xvfb xdotool x11-utils imagemagick libtiff-tools)
tools/deps.sh "${packages[@]}"

# Runs a build step, quietly with --quiet: its output shows only when it
# fails.
step() {
  [ $quiet -eq 0 ] && {
    "$@"
    return
  }
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    cat "$log"
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
[ -f "$build/CMakeCache.txt" ] ||
  step cmake -S . -B "$build" --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    "${launcher[@]}" >/dev/null
targets=(installer)
[ $test -eq 1 ] && targets+=(shell_tests palettes_tests huewright_tests knotloom_tests
  curvetoy_tests analysis_tests explore_tests windows_tests)
step cmake --build "$build" -j2 --target "${targets[@]}"
if [ $quiet -eq 0 ]; then ls -l "$build"/dist/*.exe; fi

if [ $test -eq 1 ]; then
  echo "== unit tests under wine =="
  ctest --test-dir "$build" -L unit --output-on-failure
  echo "== the programs under wine =="
  wintests/smoke.sh "$build"
fi
