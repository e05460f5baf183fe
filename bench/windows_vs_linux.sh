#!/usr/bin/env bash
# The export of the large school (3,000 subjects, 3,000 teachers, 1,000 rooms,
# 1,500 groups) by the Linux build and by the Windows program under Wine, in
# the same run: prints each one's median over RUNS runs and their ratio, and
# fails when Windows takes more than twice as long.
#
#   make bench && make windows      # the two builds it times
#   bash bench/windows_vs_linux.sh [RUNS]     # RUNS defaults to 5
#
# The Wine prefix (VELQUIOR_WINEPREFIX, else build-windows/wineprefix) is
# warmed first and its server kept alive through the runs, so the Windows
# figure is the program's and Wine's start, not the prefix's.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-5}"
max_ratio=2
linux_bin="$root/build-release/cli/velquior-convert"
generator="$root/build-release/velquior_generate_school"
exe="$root/build-windows/cli/velquior-convert.exe"
wine_run="$root/scripts/wine-run"
wineserver=/usr/lib/wine/wineserver

missing=0
for f in "$linux_bin" "$generator"; do
  if [[ ! -x "$f" ]]; then
    echo "Missing $f: build the Linux Release build first (make bench)." >&2
    missing=1
  fi
done
if [[ ! -f "$exe" ]]; then
  echo "Missing $exe: build the Windows program first (make windows)." >&2
  missing=1
fi
if [[ ! -x "$wineserver" ]]; then
  echo "Missing $wineserver: install Wine (VELQUIOR_WINDOWS=1 bash scripts/install-deps.sh)." >&2
  missing=1
fi
[[ $missing -eq 0 ]] || exit 2
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [RUNS]" >&2
  exit 2
fi

export VELQUIOR_WINEPREFIX="${VELQUIOR_WINEPREFIX:-$root/build-windows/wineprefix}"
export LC_ALL=C.UTF-8
unset VELQUIOR_WORKDIR VELQUIOR_DECIMAL_SEPARATOR

tmp="$(mktemp -d)"
server_up=0
cleanup() {
  if [[ $server_up -eq 1 ]]; then WINEPREFIX="$VELQUIOR_WINEPREFIX" "$wineserver" -k || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT

"$generator" "$tmp/escuela.xml"
mkdir "$tmp/linux" "$tmp/windows"
echo "School: $(stat -c %s "$tmp/escuela.xml") bytes; $runs runs each"

# Makes the prefix if need be, then keeps one server up for all the runs.
"$wine_run" "$exe" --version >/dev/null
WINEPREFIX="$VELQUIOR_WINEPREFIX" "$wineserver" -w
WINEPREFIX="$VELQUIOR_WINEPREFIX" "$wineserver" -p
server_up=1
"$wine_run" "$exe" --version >/dev/null

# Milliseconds one export takes; the program's output is kept for failures.
time_export() {
  local log="$tmp/last.log" start end
  start=$(date +%s%N)
  if ! "$@" >"$log" 2>&1; then
    echo "Export failed: $*" >&2
    cat "$log" >&2
    exit 1
  fi
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }

linux_ms=()
windows_ms=()
# Alternated, so that a slow spell of the machine falls on both.
for ((i = 1; i <= runs; i++)); do
  linux_ms+=("$(time_export "$linux_bin" export "$tmp/escuela.xml" --workdir "$tmp/linux")")
  windows_ms+=("$(time_export "$wine_run" "$exe" export "$tmp/escuela.xml" --workdir "$tmp/windows")")
done
# Both wrote the same tables: equal sizes, and no byte differs but the
# header's date (bytes 1-3, which cmp counts from 1).
for t in ASIGNOMT PROFT AULAT GRUPOST ASIGT DIASHORAST; do
  a="$tmp/linux/$t.DBF" b="$tmp/windows/$t.DBF"
  other=$(cmp -l "$a" "$b" | awk '$1 < 2 || $1 > 4' || true)
  if [[ $(stat -c %s "$a") != $(stat -c %s "$b") || -n "$other" ]]; then
    echo "$t.DBF differs between the two exports" >&2
    exit 1
  fi
done

linux_median=$(median "${linux_ms[@]}")
windows_median=$(median "${windows_ms[@]}")
echo "Linux runs (ms):   ${linux_ms[*]}"
echo "Windows runs (ms): ${windows_ms[*]}"
echo "Linux median:   ${linux_median} ms"
echo "Windows median: ${windows_median} ms (under Wine)"
ratio=$(awk -v w="$windows_median" -v l="$linux_median" 'BEGIN { printf "%.2f", (l > 0 ? w / l : 0) }')
echo "Ratio Windows/Linux: $ratio (limit $max_ratio)"
if awk -v r="$ratio" -v m="$max_ratio" 'BEGIN { exit !(r > m) }'; then
  echo "Windows is more than ${max_ratio} times slower" >&2
  exit 1
fi
