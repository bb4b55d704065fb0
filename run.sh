#!/usr/bin/env bash
# Builds and starts one program: ./run.sh [huewright|knotloom|curvetoy]
set -euo pipefail
cd "$(dirname "$0")"
program="${1:-huewright}"
case "$program" in
  huewright|knotloom|curvetoy) ;;
  *) echo "usage: $0 [huewright|knotloom|curvetoy]" >&2; exit 2 ;;
esac
tools/deps.sh
# Runs a build step quietly, showing its output only when it fails.
quiet() {
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then cat "$log"; rm -f "$log"; return 1; fi
  rm -f "$log"
}
[ -f build/CMakeCache.txt ] || quiet cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
quiet cmake --build build -j2 --target "$program"
exec "build/$program/$program"
