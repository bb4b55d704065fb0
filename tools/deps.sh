#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need,
# and nothing when all are present:
#
#   tools/deps.sh [PACKAGE]...
#
# Given packages, it installs those alone, when missing.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  libfltk1.3-dev libfreetype-dev libfontconfig-dev fonts-liberation2 libx11-dev
  libgtest-dev libbenchmark-dev
  xvfb xdotool xclip imagemagick x11-utils openbox
  libtiff-dev libtiff-tools libimage-exiftool-perl
  gimp python3-pil
  clang-14 libclang-rt-14-dev
  nodejs
  libpng-dev libexpat1-dev desktop-file-utils appstream libxml2-utils man-db shared-mime-info xdg-utils
  libfile-mimeinfo-perl dpkg-dev file
  # The Windows build and its tests under wine (tools/windows.sh).
  g++-mingw-w64-x86-64-posix wine64 nsis googletest
)
# The analysis tests install their reference colour library with npm. Some
# builds of nodejs bring npm with them and conflict with Debian's npm package,
# so the package is asked for only when the command is missing.
command -v npm >/dev/null 2>&1 || packages+=(npm)
[ $# -gt 0 ] && packages=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
