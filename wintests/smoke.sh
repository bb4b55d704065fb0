#!/usr/bin/env bash
# The Windows programs used as a user uses them, under wine on a virtual
# screen of its own, with xdotool's keys and pointer:
#
#   wintests/smoke.sh [BUILD_DIR [LINUX_BUILD_DIR]]
#
# BUILD_DIR is the Windows build (build-win). Each program shows its window
# with its title and client size and ends on Esc; in huewright R opens the
# Parameters dialog, a drag moves the strip, P saves a MAP file through the
# common dialog and S a TIFF file that libtiff and ImageMagick read. When
# LINUX_BUILD_DIR (build) holds the Linux huewright, the same edit is made
# there and both MAP files must be the same, byte for byte.
#
# Prints one line a check and exits 1 when any fails.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build-win}" && pwd)
linux=$(cd "${2:-$root/build}" 2>/dev/null && pwd || true)
winerun=$root/tools/wine-run
work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

for n in $(seq 70 99); do
  if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=:$n
    break
  fi
done
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

failed=0
check() {  # DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then
    echo "ok    $what"
  else
    echo "FAIL  $what"
    failed=1
  fi
}

# The id of the first visible window whose title holds $1, waiting up to 20 s.
waitwindow() {
  local w
  for _ in $(seq 200); do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$w" ] && echo "$w" && return 0
    sleep 0.1
  done
  return 1
}
gone() {  # TITLE: true once no window has it, waiting up to 5 s
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
waitfile() {
  for _ in $(seq 100); do
    [ -s "$1" ] && sleep 0.2 && return 0
    sleep 0.1
  done
  return 1
}
size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
# The colours of the palette strip: its row of 256 pixels.
strip() { import -window "$1" -crop 256x1+501+470 +repage rgb:- 2>/dev/null | md5sum; }
# A key for a window, given the keyboard as a user gives it: with a click on
# a spot of the window where a click does nothing else (setting the focus
# from outside confuses wine's idea of the active window).
key() {  # WINDOW X Y KEY
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.2
  xdotool key "$4"
  sleep 0.3
}
drag() {  # WINDOW X0 Y0 X1 Y1, in steps of 10 pixels
  local w=$1 x=$2 y=$3
  xdotool mousemove --window "$w" "$x" "$y" sleep 0.1 mousedown 1 sleep 0.1
  while [ "$x" -ne "$4" ] || [ "$y" -ne "$5" ]; do
    x=$((x + (($4 > x) ? 10 : (($4 < x) ? -10 : 0))))
    y=$((y + (($5 > y) ? 10 : (($5 < y) ? -10 : 0))))
    xdotool mousemove --window "$w" "$x" "$y" sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.3
}
answer() {  # TITLE NAME: types a file name into the file dialog and saves
  waitwindow "$1" >/dev/null || return 1
  sleep 0.3
  xdotool type --delay 20 "$2"
  xdotool key Return
}
ends() {  # PID: the program ends, with exit code 0, within 10 s
  for _ in $(seq 100); do
    kill -0 "$1" 2>/dev/null || {
      wait "$1"
      return
    }
    sleep 0.1
  done
  kill "$1"
  return 1
}

# huewright: the same edit and saves, by the program given (in $dir).
huewright() {
  local name=$1 dir=$2
  shift 2
  (cd "$dir" && exec "$@") >"$dir.log" 2>&1 &
  local pid=$! w
  w=$(waitwindow "Xo Gradient") || {
    check "$name: window" false
    cat "$dir.log"
    kill "$pid" 2>/dev/null
    return
  }
  sleep 0.5
  check "$name: client size 800x640" test "$(size "$w")" = 800x640
  local before
  before=$(strip "$w")
  key "$w" 400 620 r
  local dlg
  dlg=$(waitwindow "Parameter Selection")
  check "$name: R opens Parameters" test -n "$dlg"
  # Red's sine point (x shift 165) dragged to x shift 205.
  drag "$w" 665 273 705 273
  check "$name: the drag moves the strip" test "$(strip "$w")" != "$before"
  key "$dlg" 5 5 Return
  check "$name: Enter confirms the dialog" gone "Parameter Selection"
  key "$w" 400 620 p
  answer "Select a file for saving parameters" edit
  check "$name: P saves a MAP file" waitfile "$dir/edit.map"
  waitwindow "Palette Curves" >/dev/null
  xdotool key Return  # the box that names the file
  key "$w" 400 620 s
  # The name of the author the TIFF file keeps, asked first; the default
  # one stands.
  local askname
  askname=$(waitwindow "Name Entry")
  check "$name: S asks for the author's name" test -n "$askname"
  key "$askname" 5 5 Return
  answer "Select a file for saving your image" screen
  check "$name: S saves a TIFF file" waitfile "$dir/screen.tif"
  sleep 1
  xdotool key Return  # the box that names the file
  check "$name: libtiff reads the TIFF file" tiffinfo "$dir/screen.tif"
  check "$name: ImageMagick reads it, 800x640" \
    test "$(identify -format %wx%h "$dir/screen.tif" 2>/dev/null)" = 800x640
  key "$w" 400 620 Escape
  check "$name: Esc ends it" ends "$pid"
}

mkdir -p "$work/wine" "$work/linux"
huewright huewright.exe "$work/wine" "$winerun" "$build/huewright/huewright.exe"
if [ -x "$linux/huewright/huewright" ]; then
  huewright huewright "$work/linux" "$linux/huewright/huewright"
  check "the MAP files saved on Linux and under wine are the same" \
    cmp "$work/linux/edit.map" "$work/wine/edit.map"
fi

# knotloom and curvetoy: their windows, and Esc.
other() {  # PROGRAM TITLE SIZE
  "$winerun" "$build/$1/$1.exe" >/dev/null 2>&1 &
  local pid=$! w=
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --classname "^$1.exe\$" 2>/dev/null | head -1)
    [ -n "$w" ] && break
    sleep 0.1
  done
  sleep 0.5
  check "$1.exe: window" test -n "$w"
  [ -z "$w" ] && return
  check "$1.exe: title \"$2\"" test "$(xdotool getwindowname "$w")" = "$2"
  check "$1.exe: client size $3" test "$(size "$w")" = "$3"
  xdotool key Escape
  check "$1.exe: Esc ends it" ends "$pid"
}
other knotloom "" 1024x768
# curvetoy's window has its menu bar above the 1024 x 768 picture.
other curvetoy "Xo Bezier Curve Demo" 1024x787

exit $failed
