#!/usr/bin/env bash
# Builds the Debian package from a finished build into a scratch folder and
# checks what Debian asks of every package besides the programs: the licence
# as a machine-readable copyright file and the compressed changelog, both in
# the package's documentation folder, the changelog naming the package's own
# version.
#
# Usage: check-package.sh BUILD_DIR
set -u
build=${1:?usage: check-package.sh BUILD_DIR}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! log=$(cd "$build" && cpack -G DEB -B "$scratch" 2>&1); then
  echo "$log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
debs=("$scratch"/palette-tools_*.deb)
[[ ${#debs[@]} == 1 && -f ${debs[0]} ]] || { echo "FAIL: no single palette-tools package"; exit 1; }
deb=${debs[0]}

doc=./usr/share/doc/palette-tools
listing=$(dpkg-deb -c "$deb" | awk '{ print $1, $6 }')
for f in copyright changelog.Debian.gz; do
  grep -qx -- "-rw-r--r-- $doc/$f" <<<"$listing" || fail "the package has no $doc/$f"
done
dpkg-deb -x "$deb" "$scratch/root"
copyright=$scratch/root/$doc/copyright
[[ $(head -n1 "$copyright" 2>/dev/null) == \
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]] ||
  fail "copyright is not in the machine-readable format"
grep -qx 'License: MIT' "$copyright" || fail "copyright names no MIT licence"
version=$(dpkg-deb -f "$deb" Version)
changes=$(zcat "$scratch/root/$doc/changelog.Debian.gz" 2>/dev/null | head -n1)
[[ $changes == "palette-tools ($version) "* ]] ||
  fail "the changelog starts '$changes', not with version $version"

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package checks passed"
