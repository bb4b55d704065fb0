#!/usr/bin/env bash
# Builds and starts one program: ./run.sh [huewright|knotloom|curvetoy]
set -euo pipefail
cd "$(dirname "$0")"
program="${1:-curvetoy}"
case "$program" in
  huewright|knotloom|curvetoy) ;;
  *) echo "usage: $0 [huewright|knotloom|curvetoy]" >&2; exit 2 ;;
esac
tools/deps.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target "$program" >/dev/null
exec "build/$program/$program"
