#!/usr/bin/env bash
# Installs the Debian packages that building and testing Velquior need, and
# only those that are missing. Safe to run again and again.
set -euo pipefail

packages=(
  # build
  g++ make cmake pkg-config
  libxml2-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  python3 python3-dbfread libxml2-utils
  # the desktop window and its tests
  qt6-base-dev qt6-translations-l10n libxcb1-dev fonts-liberation
  xvfb xauth xdotool x11-utils
  # the help: its compiler and the library that reads it
  fp-utils-3.2.2 libchm-dev
  # the icon's PNG sizes, drawn from its SVG
  librsvg2-bin
)
if [[ "${VELQUIOR_WINDOWS:-0}" == 1 ]]; then
  # The cross compiler, Wine to run the tests (64-bit only: no i386
  # architecture needed), the source package tools for libxml2,
  # GoogleTest's sources, NSIS for the installer, what draws the icon and
  # the installer's pictures from their SVG sources, and Wine's own faces
  # (Tahoma, with its bold, as on Windows); xwd for scripts/windows-shots.sh.
  packages+=(g++-mingw-w64-x86-64-posix wine64 fonts-wine dpkg-dev xz-utils googletest nsis
             librsvg2-bin icoutils netpbm x11-apps)
fi
if [[ "${VELQUIOR_DEB:-0}" == 1 ]]; then
  # The Debian packages: Debian's own build tools, the checks of the built
  # packages and of the desktop files, and debootstrap for the install test.
  packages+=(debhelper dpkg-dev fakeroot lintian appstream desktop-file-utils debootstrap)
fi
if [[ "${VELQUIOR_FUZZ:-0}" == 1 ]]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
