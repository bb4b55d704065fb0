#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop would
# read there: the desktop entries, AppStream metainfo, MIME package and man
# pages pass their validators, the icons are the sizes their folders say and
# show a picture on a transparent ground, the programs answer --help, --version and bad command lines
# without a display, and once the desktop and MIME databases are built, a MAP
# file is a MAP file that opens in huewright, and a JSON source map is not.
#
# Usage: check-install.sh BUILD_DIR
set -u
build=${1:?usage: check-install.sh BUILD_DIR}
programs=(huewright knotloom curvetoy)
sizes=(16 24 32 48 64 128 256)
maptype=application/x-fractint-map

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
share=$prefix/share
if ! log=$(cmake --install "$build" --prefix "$prefix" 2>&1); then
  echo "$log"
  echo "FAIL: cmake --install"
  exit 1
fi

for p in "${programs[@]}"; do
  entry=$share/applications/$p.desktop
  out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate $p: $out"
  [[ -z $out ]] || fail "desktop-file-validate $p: $out"
  for line in "StartupWMClass=$p" "Icon=$p" "TryExec=$p"; do
    grep -qx "$line" "$entry" || fail "$p.desktop has no $line"
  done
  meta=$share/metainfo/org.example.palettetools.$p.metainfo.xml
  out=$(appstreamcli validate --no-net "$meta" 2>&1) || fail "appstreamcli validate $p: $out"
  grep -q "<launchable type=\"desktop-id\">$p.desktop</launchable>" "$meta" ||
    fail "$p metainfo does not launch $p.desktop"

  for n in "${sizes[@]}"; do
    icon=$share/icons/hicolor/${n}x$n/apps/$p.png
    # Width, height, the number of distinct colours (a blank or one-colour
    # picture has one), and the alpha of a corner and of the middle: the
    # artwork stands on nothing, not on a square.
    read -r w h colours corner middle < <(identify -format \
      "%w %h %k %[fx:p{0,0}.a] %[fx:p{$((n / 2)),$((n / 2))}.a]\n" "$icon" 2>/dev/null)
    [[ "${w:-} ${h:-}" == "$n $n" ]] || fail "$icon is ${w:-?} x ${h:-?}"
    ((${colours:-0} >= 3)) || fail "$icon has ${colours:-no} colours"
    [[ "${corner:-} ${middle:-}" == "0 1" ]] ||
      fail "$icon has alpha ${corner:-?} in the corner and ${middle:-?} in the middle"
  done
  shot=$share/palette-tools/screenshots/$p.png
  read -r w h colours < <(identify -format '%w %h %k\n' "$shot" 2>/dev/null)
  want=$(grep -o 'width="[0-9]*" height="[0-9]*"' "$meta" | tr -dc '0-9 ' | xargs)
  [[ "${w:-} ${h:-}" == "$want" ]] || fail "$shot is ${w:-?} x ${h:-?}, its metainfo says $want"
  ((${colours:-0} >= 16)) || fail "$shot has ${colours:-no} colours"
done

xmllint --noout "$share/mime/packages/palette-tools.xml" || fail "xmllint palette-tools.xml"

# Every page the build makes, palette-convert's too when its program is not
# in the tree; the programs' pages must also be installed.
for page in "$build"/desktop/man/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man $page: $warnings"
  MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q '^EXIT STATUS' || fail "$page has no EXIT STATUS"
done
for p in "${programs[@]}"; do
  [[ -f $share/man/man1/$p.1.gz ]] || fail "no man page for $p"
done

# The command line needs no display.
expect() {  # expect CODE STDOUT-PATTERN STDERR-LINES COMMAND...
  local code=$1 outpattern=$2 errlines=$3
  shift 3
  local out err rc
  out=$(env -u DISPLAY "$@" 2>"$scratch/err")
  rc=$?
  err=$(cat "$scratch/err")
  ((rc == code)) || fail "$* ended with $rc, not $code"
  [[ $out =~ $outpattern ]] || fail "$* printed: $out"
  [[ $(grep -c '' "$scratch/err") == "$errlines" ]] || fail "$* wrote to stderr: $err"
}
bin=$prefix/bin
for p in "${programs[@]}"; do
  expect 0 "^$p 1\.0\.0$" 0 "$bin/$p" --version
  expect 0 "^Usage: $p .*Keys in the window:.*Esc +end the program" 0 "$bin/$p" --help
  expect 2 '^$' 1 "$bin/$p" --no-such-option
done
expect 2 '^$' 1 "$bin/curvetoy" sunset.map
expect 2 '^$' 1 "$bin/knotloom" sunset.map other.map

# What the programs say they write: every format palette-convert lists as
# written is named by its extension in the designers' --help, man pages and
# metainfo; and palette-convert's page documents each option its --help shows.
names() {  # names TEXT EXTENSION: the extension stands as a word of its own
  [[ $1 =~ (^|[^[:alnum:]_])\.$2([^[:alnum:]_]|$) ]]
}
if [[ -x $bin/palette-convert ]]; then
  written=$("$bin/palette-convert" --list |
    awk 'NR > 1 && $3 == "yes" { for (i = 4; i <= NF && $i ~ /^\./; ++i) print substr($i, 2) }')
  [[ -n $written ]] || fail "palette-convert --list shows no written formats"
  for p in huewright knotloom; do
    help=$("$bin/$p" --help)
    page=$(zcat "$share/man/man1/$p.1.gz")
    meta=$(cat "$share/metainfo/org.example.palettetools.$p.metainfo.xml")
    for ext in $written; do
      for where in help page meta; do
        names "${!where}" "$ext" || fail "$p's $where does not name .$ext"
      done
    done
  done
  page=$(zcat "$share/man/man1/palette-convert.1.gz" | sed 's/\\-/-/g')
  for option in $("$bin/palette-convert" --help | grep -o '^ *--[a-z]*'); do
    [[ $page == *"$option"* ]] || fail "palette-convert(1) does not document $option"
  done
fi

# The desktop's view of the installed files. xdg-mime is made deterministic:
# a clean environment, the generic desktop (X-Generic, so it asks no desktop
# session), and the shared-mime-info tool `mimetype` for file types, which
# reads the database built here (without it xdg-mime would ask `file`, which
# knows nothing of MAP files). The system's MIME database, without its
# applications, stands beside ours, as on a desktop.
command -v mimetype >/dev/null || fail "mimetype (libfile-mimeinfo-perl) is missing"
home=$scratch/home
mkdir -p "$home" "$scratch/system"
[[ -d /usr/share/mime ]] && ln -s /usr/share/mime "$scratch/system/mime"
desktop() {
  env -i PATH="$PATH" HOME="$home" XDG_CURRENT_DESKTOP=X-Generic \
    XDG_DATA_HOME="$home/.local/share" XDG_DATA_DIRS="$share:$scratch/system" \
    XDG_CONFIG_HOME="$home/.config" XDG_CONFIG_DIRS="$home/.config-dirs" "$@"
}
desktop update-mime-database "$share/mime" || fail "update-mime-database"
desktop update-desktop-database "$share/applications" || fail "update-desktop-database"
for i in $(seq 0 255); do echo "$i $((255 - i)) $((i / 2))"; done >"$scratch/sunset.map"
cp "$scratch/sunset.map" "$scratch/sunset"
# Right-aligned columns, as many collections write them.
for i in $(seq 0 255); do printf '%3d %3d %3d\n' $((i / 2)) "$i" 255; done >"$scratch/columns.map"
printf '{"version":3,"file":"app.js","sources":["app.ts"],"names":[],"mappings":"AAAA"}\n' \
  >"$scratch/app.js.map"
printf 'GIMP Palette\nName: Sunset\n' >"$scratch/sunset.gpl"
printf 'GIMP Gradient\nName: Sunset\n1\n' >"$scratch/sunset.ggr"
for f in sunset.map:$maptype sunset:$maptype columns.map:$maptype sunset.gpl:application/x-gimp-palette \
  sunset.ggr:application/x-gimp-gradient; do
  type=$(desktop xdg-mime query filetype "$scratch/${f%%:*}")
  [[ $type == "${f#*:}" ]] || fail "xdg-mime calls ${f%%:*} '$type', not ${f#*:}"
  handler=$(desktop xdg-mime query default "${f#*:}")
  [[ $handler == huewright.desktop ]] || fail "xdg-mime opens ${f#*:} with '$handler'"
done
type=$(desktop xdg-mime query filetype "$scratch/app.js.map")
[[ -n $type && $type != "$maptype" ]] || fail "xdg-mime calls a JSON source map '$type'"

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "install checks passed"
