#!/usr/bin/env bash
# Builds the Windows programs and their installer on Linux, with Debian's
# MinGW-w64 compilers:
#
#   tools/windows.sh [--test] [BUILD_DIR]
#
# BUILD_DIR (build-win by default) ends up with dist/huewright.exe,
# knotloom.exe, curvetoy.exe, palette-convert.exe and
# palette-tools-setup.exe. --test also runs the unit tests and the smoke
# test of the programs under wine. The packages it needs are installed with
# apt-get when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

test=0
if [ "${1:-}" = "--test" ]; then
  test=1
  shift
fi
build=${1:-build-win}

# wine draws the icons during the build (the drawing code is the programs'
# own) and runs the tests; googletest brings GoogleTest's source.
packages=(cmake make g++-mingw-w64-x86-64-posix wine64 nsis googletest)
[ $test -eq 1 ] && packages+=(xvfb xdotool x11-utils imagemagick libtiff-tools)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
[ -f "$build/CMakeCache.txt" ] ||
  cmake -S . -B "$build" --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    "${launcher[@]}" >/dev/null
targets=(installer)
[ $test -eq 1 ] && targets+=(shell_tests palettes_tests huewright_tests knotloom_tests
  curvetoy_tests analysis_tests explore_tests windows_tests)
cmake --build "$build" -j2 --target "${targets[@]}"
ls -l "$build"/dist/*.exe

if [ $test -eq 1 ]; then
  echo "== unit tests under wine =="
  ctest --test-dir "$build" -L unit --output-on-failure
  echo "== the programs under wine =="
  wintests/smoke.sh "$build"
fi
