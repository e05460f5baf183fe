#!/usr/bin/env bash
# Builds libxml2 for Windows from Debian's own source package, of the
# version the Linux build uses, once: the result stays in $1 (the Windows
# build folder) and is not built again while its stamp matches.
#
# The source comes through a sources list of this script's own, so the
# machine's apt configuration stays as it is. Built without iconv, zlib,
# lzma, HTTP or FTP; Windows-1252 is registered by the program itself.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(mkdir -p "$1" && cd "$1" && pwd)"
deps="$build/deps"
prefix="$deps/libxml2"

version="$(dpkg-query -W -f='${Version}' libxml2-dev)"
stamp="$prefix/.built-from"
if [[ -f "$stamp" && "$(cat "$stamp")" == "$version" ]]; then
  exit 0
fi

echo "Building libxml2 $version for Windows"
apt_dir="$deps/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$deps/src"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
cat >"$apt_dir/sources.list" <<LIST
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm main
deb-src [signed-by=$keyring] http://deb.debian.org/debian bookworm-updates main
deb-src [signed-by=$keyring] http://deb.debian.org/debian-security bookworm-security main
LIST
apt_opts=(
  -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
  -o APT::Sandbox::User=root -qq
)
apt-get "${apt_opts[@]}" update
rm -rf "$deps/src"
mkdir -p "$deps/src"
(cd "$deps/src" && apt-get "${apt_opts[@]}" source --download-only "libxml2=$version" &&
  dpkg-source --no-check -x ./*.dsc libxml2 >/dev/null)

rm -rf "$deps/libxml2-build" "$prefix"
cmake -S "$deps/src/libxml2" -B "$deps/libxml2-build" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF \
  -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_ICU=OFF -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_LZMA=OFF \
  -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_MODULES=OFF \
  -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_TESTS=OFF >/dev/null
cmake --build "$deps/libxml2-build" -j"$(nproc)" >/dev/null
cmake --install "$deps/libxml2-build" >/dev/null
rm -rf "$deps/libxml2-build" "$deps/src"
echo "$version" >"$stamp"
