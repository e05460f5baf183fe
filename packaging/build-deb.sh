#!/usr/bin/env bash
# Builds the Debian packages in a copy of the tracked files (as a clean
# clone has them, with the working tree's changes), so that no build folder
# of the tree goes in; checks them with lintian and puts them in dist/.
# Usage: packaging/build-deb.sh [BUILD_FOLDER]   (default build-deb)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-build-deb}
[[ $out = /* ]] || out=$root/$out

version=$(sed -n 's/^project(velquior VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
changelog=$(dpkg-parsechangelog -S Version)
if [[ "$version" != "$changelog" ]]; then
  echo "debian/changelog names $changelog, CMakeLists.txt $version: add a changelog entry" >&2
  exit 1
fi

src=$out/velquior-$version
rm -rf "$out"
mkdir -p "$src"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  # Tracked files that still exist (a deletion not yet committed stays out).
  git ls-files -z | while IFS= read -r -d '' f; do [[ -e $f || -L $f ]] && printf '%s\0' "$f"; done |
    tar --null -T - -cf - | tar -xf - -C "$src"
else
  tar --exclude='./build*' --exclude=./dist --exclude=./.git -cf - . | tar -xf - -C "$src"
fi

(cd "$src" && nice dpkg-buildpackage -b -uc -us -j2)

mkdir -p dist
rm -f dist/velquior*_*.deb dist/velquior_*.buildinfo dist/velquior_*.changes
cp "$out"/*.deb "$out"/*.buildinfo "$out"/*.changes dist/
ls -l dist/*.deb
lintian --fail-on error,warning --info dist/velquior_"${version}"_*.changes
echo "lintian: no error, no warning"
