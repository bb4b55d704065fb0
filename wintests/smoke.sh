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

# Every wait below polls for what it waits for, for a minute or so: on a
# busy machine a program may take many seconds to show a window, and a wait
# that merely sleeps would guess.
within() {  # SECONDS COMMAND...: true once COMMAND succeeds, polling
  local end=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.1
  done
}

# A display number no other server holds, away from the low numbers other
# tools take; another server may take the same number at the same moment,
# so a server that does not answer is given up for the next number.
n=$((200 + $$ % 300))
while [ -z "$xvfb" ] && [ $n -lt 1000 ]; do
  if [ ! -e /tmp/.X$n-lock ] && [ ! -e /tmp/.X11-unix/X$n ]; then
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=:$n
    if ! within 30 xdpyinfo || ! kill -0 $xvfb 2>/dev/null; then
      kill $xvfb 2>/dev/null
      xvfb=
    fi
  fi
  n=$((n + 1))
done
if [ -z "$xvfb" ]; then
  echo "FAIL  no virtual screen"
  exit 1
fi
# A wine server's programs all draw through the display driver the first of
# them found: one started without a screen (a unit test, the icon drawing of
# the build) leaves the rest with none, and their windows never show. So the
# programs shown here have a wine prefix, and with it servers, of their own.
export WINEPREFIX="${XDG_CACHE_HOME:-$HOME/.cache}/palette-tools/wine-screen"
# The wine prefix is made on first use, which takes longer than any wait
# below should; it is made here, before the first program.
"$winerun" cmd.exe /c exit </dev/null >/dev/null 2>&1

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

# The id of the first visible window whose title matches $1 (a regular
# expression) and that is not window $2, waiting up to a minute.
waitwindow() {
  local end=$((SECONDS + 60)) w
  while [ $SECONDS -lt $end ]; do
    w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${2:-0}" | head -1)
    [ -n "$w" ] && echo "$w" && return 0
    sleep 0.1
  done
  return 1
}
shown() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
hidden() { ! shown "$1"; }
gone() { [ -n "$1" ] && within 30 hidden "$1"; }  # WINDOW: true once it is no longer shown
# Files are saved whole under their name (written aside, then renamed), so a
# file that is there is complete.
waitfile() { within 60 test -s "$1"; }
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
  sleep 0.5
  xdotool type --delay 20 "$2"
  xdotool key Return
}
# A message box with the title (a regular expression) that is not window $2,
# closed with Enter.
confirm() {  # TITLE [WINDOW]
  local box
  box=$(waitwindow "$1" "${2:-0}") || return 1
  sleep 0.3
  xdotool key Return
  gone "$box"
}
running() { kill -0 "$1" 2>/dev/null; }
ends() {  # PID: the program ends, with exit code 0, within 30 s
  if within 30 eval "! running $1"; then
    wait "$1"
    return
  fi
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
  check "$name: client size 800x640" within 10 eval '[ "$(size "$w")" = 800x640 ]'
  key "$w" 400 620 r
  local dlg before
  dlg=$(waitwindow "Parameter Selection")
  check "$name: R opens Parameters" test -n "$dlg"
  # The strip as drawn before the drag, once the window is surely drawn.
  before=$(strip "$w")
  # Red's sine point (x shift 165) dragged to x shift 205.
  drag "$w" 665 273 705 273
  check "$name: the drag moves the strip" within 30 eval '[ "$(strip "$w")" != "$before" ]'
  key "$dlg" 5 5 Return
  check "$name: Enter confirms the dialog" gone "$dlg"
  key "$w" 400 620 p
  answer "Select a file for saving parameters" edit
  check "$name: P saves a MAP file" waitfile "$dir/edit.map"
  confirm "^Palette Curves\$"  # the box that names the file
  key "$w" 400 620 s
  # The name of the author the TIFF file keeps, asked first; the default
  # one stands.
  local askname
  askname=$(waitwindow "Name Entry")
  check "$name: S asks for the author's name" test -n "$askname"
  key "$askname" 5 5 Return
  answer "Select a file for saving your image" screen
  check "$name: S saves a TIFF file" waitfile "$dir/screen.tif"
  confirm "^Xo Gradient\$" "$w"  # the box that names the file
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
  local title=$2 want=$3
  "$winerun" "$build/$1/$1.exe" >/dev/null 2>&1 &
  local pid=$! w=
  local end=$((SECONDS + 60))
  while [ -z "$w" ] && [ $SECONDS -lt $end ]; do
    w=$(xdotool search --onlyvisible --classname "^$1.exe\$" 2>/dev/null | head -1)
    [ -z "$w" ] && sleep 0.1
  done
  check "$1.exe: window" test -n "$w"
  [ -z "$w" ] && return
  check "$1.exe: title \"$2\"" within 10 eval '[ "$(xdotool getwindowname "$w")" = "$title" ]'
  check "$1.exe: client size $3" within 10 eval '[ "$(size "$w")" = "$want" ]'
  [ "$1" = curvetoy ] && curvetoymenu "$w"
  xdotool key Escape
  check "$1.exe: Esc ends it" ends "$pid"
}
picture() { import -window "$1" rgb:- 2>/dev/null | md5sum; }
# curvetoy's File menu from the keyboard: F10 takes the menu bar, Enter
# opens File, whose first item, Show Control Points, Enter picks.
curvetoymenu() {  # WINDOW
  local w=$1 before menu
  before=$(picture "$w")
  xdotool key F10
  sleep 0.3
  xdotool key Return
  menu=$(within 30 eval 'xdotool search --onlyvisible --classname "^curvetoy.exe\$" | grep -vx "$w"' &&
    xdotool search --onlyvisible --classname "^curvetoy.exe\$" | grep -vx "$w" | head -1)
  check "curvetoy.exe: F10 and Enter open the File menu" test -n "$menu"
  xdotool key Return
  check "curvetoy.exe: Enter picks Show Control Points" gone "$menu"
  check "curvetoy.exe: the picture shows them" within 30 eval '[ "$(picture "$w")" != "$before" ]'
}
other knotloom "" 1024x768
# curvetoy's window has its menu bar above the 1024 x 768 picture.
other curvetoy "Xo Bezier Curve Demo" 1024x787

exit $failed
