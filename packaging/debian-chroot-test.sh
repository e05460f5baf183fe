#!/usr/bin/env bash
# Installs the packages of dist/ into a bare Debian 12 made by debootstrap,
# pulling their dependencies from Debian; converts the sample school with
# velquior-convert; purges both packages and checks that no file of theirs,
# nor any other, is left. Needs root (debootstrap, chroot) and Debian's
# mirror. Usage: packaging/debian-chroot-test.sh [CHROOT_FOLDER]
# (default build-chroot, made afresh each run; the bare system is kept as
# CHROOT_FOLDER.base.tar and unpacked from it on the next run).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dir=${1:-build-chroot}
[[ $dir = /* ]] || dir=$root/$dir
mirror=${VELQUIOR_DEBIAN_MIRROR:-http://deb.debian.org/debian}

debs=(dist/velquior-convert_*.deb dist/velquior_*.deb)
for d in "${debs[@]}"; do [[ -f $d ]] || { echo "no $d: run make deb first" >&2; exit 1; }; done
[[ $(id -u) -eq 0 ]] || { echo "needs root (debootstrap, chroot)" >&2; exit 1; }

step() { printf '\n== %s (%ds)\n' "$*" "$SECONDS"; }
in_chroot() { chroot "$dir" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C.UTF-8 \
  DEBIAN_FRONTEND=noninteractive "$@"; }
cleanup() { mountpoint -q "$dir/proc" && umount "$dir/proc" || true; }
trap cleanup EXIT

cleanup
rm -rf --one-file-system "$dir"
if [[ -f $dir.base.tar ]]; then
  step "bare bookworm from $(basename "$dir").base.tar"
  mkdir "$dir"
  tar -xpf "$dir.base.tar" -C "$dir"
else
  step "debootstrap bookworm into $dir"
  debootstrap --variant=minbase bookworm "$dir" "$mirror" >"$dir.debootstrap.log" 2>&1 ||
    { tail -20 "$dir.debootstrap.log"; exit 1; }
  tar -cpf "$dir.base.tar.part" -C "$dir" . && mv "$dir.base.tar.part" "$dir.base.tar"
fi
cat >"$dir/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
SOURCES
mount -t proc proc "$dir/proc"
in_chroot apt-get update -qq

# Everything but what changes by itself (caches, logs, apt's and dpkg's own
# records): what the packages add and their purge must take away again.
snapshot() {
  in_chroot find / -xdev \( -path /proc -o -path /tmp -o -path /run -o -path /var/cache -o -path /var/log \
    -o -path /var/lib/apt -o -path /var/lib/dpkg -o -path /root \) -prune -o -print | LC_ALL=C sort
}

# The dependencies first, as the packages name them, so that the file
# system before the packages holds what their dependencies' own scripts
# leave (a machine id, users' backups) and the comparison after the purge
# sees the packages' files alone.
step "the dependencies the packages name, from Debian"
deps=$(for d in "${debs[@]}"; do dpkg-deb -f "$d" Depends; done | tr '\n' ',' |
  sed 's/velquior-convert ([^)]*),\? *//; s/,$//')
echo "$deps"
in_chroot apt-get satisfy -y -q "$deps" >"$dir.deps.log" 2>&1 || { tail -30 "$dir.deps.log"; exit 1; }
grep -c '^Setting up' "$dir.deps.log" | sed 's/^/packages set up: /'
snapshot >"$dir.before"

step "apt install ./$(basename "${debs[0]}") ./$(basename "${debs[1]}")"
mkdir -p "$dir/tmp/debs"
cp "${debs[@]}" "$dir/tmp/debs/"
in_chroot apt-get install -y -q "${debs[@]/#dist//tmp/debs}" >"$dir.install.log" 2>&1 ||
  { tail -30 "$dir.install.log"; exit 1; }
grep -E 'newly installed' "$dir.install.log"
in_chroot dpkg-query -W velquior velquior-convert
in_chroot dpkg -L velquior velquior-convert | grep -vxE '/\.|' | LC_ALL=C sort -u >"$dir.owned"
in_chroot sh -c 'ldd /usr/bin/velquior /usr/bin/velquior-convert | grep "not found"' &&
  { echo "a library the programs need is missing"; exit 1; }
echo "libraries: all found"
for f in /usr/bin/velquior /usr/bin/velquior-convert /usr/share/velquior/SAGA.chm \
  /usr/share/man/man1/velquior.1.gz /usr/share/man/man1/velquior-convert.1.gz \
  /usr/share/bash-completion/completions/velquior-convert \
  /usr/share/applications/io.github.velquior.Velquior.desktop \
  /usr/share/metainfo/io.github.velquior.Velquior.metainfo.xml \
  /usr/share/icons/hicolor/scalable/apps/velquior.svg /usr/share/icons/hicolor/48x48/apps/velquior.png; do
  [[ -e $dir$f ]] || { echo "missing: $f"; exit 1; }
done
echo "installed files: present"

step "velquior-convert export of the sample school"
mkdir -p "$dir/tmp/work/ztemp"
cp examples/escuela.xml "$dir/tmp/work/"
in_chroot velquior-convert --version
in_chroot velquior-convert export /tmp/work/escuela.xml --workdir /tmp/work/ztemp
ls "$dir/tmp/work/ztemp"
for t in ASIGNOMT PROFT AULAT GRUPOST ASIGT DIASHORAST; do
  ls "$dir/tmp/work/ztemp" | grep -qix "$t.dbf" || { echo "table $t missing"; exit 1; }
done
in_chroot velquior-convert dump /tmp/work/ztemp/PROFT.DBF | head -5
echo "tables: all six"

step "apt purge velquior velquior-convert"
in_chroot apt-get purge -y -q velquior velquior-convert >"$dir.purge.log" 2>&1 || { tail -30 "$dir.purge.log"; exit 1; }
grep -E 'to remove' "$dir.purge.log"
left=0
while IFS= read -r f; do
  # Folders the system had before (/usr/bin...) stay; every file goes.
  if [[ -e $dir$f || -L $dir$f ]] && ! grep -qxF "$f" "$dir.before"; then
    echo "left: $f"
    left=1
  fi
done <"$dir.owned"
snapshot >"$dir.after"
if ! diff -u "$dir.before" "$dir.after" >"$dir.diff"; then
  echo "the file system differs from before the install:"
  cat "$dir.diff"
  left=1
fi
[[ $left -eq 0 ]] || exit 1
echo "paths of the packages: $(wc -l <"$dir.owned"), none left; file system as before the install"
in_chroot apt-get autoremove --purge -y -q >>"$dir.purge.log" 2>&1 || { tail -30 "$dir.purge.log"; exit 1; }

step "passed"
