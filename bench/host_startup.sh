#!/usr/bin/env bash
# The start of a host launch under Wine: the time from CreateProcess to the
# file dialog of `velquior.exe exportar HANDLE` being visible, against the
# time from CreateProcess to the window of an empty Windows program being
# visible, under the same Wine. Prints each one's median over RUNS runs
# (alternated, the Wine server kept warm) and their difference, and fails
# when velquior.exe takes more than 300 ms beyond the empty program.
#
#   make windows                            # builds all three programs
#   bash bench/host_startup.sh [RUNS]       # RUNS defaults to 9
#
# VELQUIOR_EXE names another velquior.exe. Without a display it runs on a
# virtual one (xvfb-run).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
runs="${1:-9}"
max_extra_ms=300
build="$root/build-windows"
exe="${VELQUIOR_EXE:-$(find "$build" -name velquior.exe -not -path '*/wineprefix/*' -print -quit 2>/dev/null)}"
host="$build/tests/windows/velquior_e2e_host.exe"
empty="$build/bench/startup/velquior_empty_window.exe"
wine_run="$root/scripts/wine-run"
wineserver=/usr/lib/wine/wineserver

missing=0
for f in "$exe" "$host" "$empty"; do
  if [[ ! -f "$f" ]]; then
    echo "Missing ${f:-velquior.exe}: build the Windows programs first (make windows)." >&2
    missing=1
  fi
done
[[ $missing -eq 0 ]] || exit 2
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [RUNS]" >&2
  exit 2
fi

export VELQUIOR_WINEPREFIX="${VELQUIOR_WINEPREFIX:-$build/wineprefix}"
tmp="$(mktemp -d)"
server_up=0
cleanup() {
  if [[ $server_up -eq 1 ]]; then WINEPREFIX="$VELQUIOR_WINEPREFIX" "$wineserver" -k || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT

# A copy of its own, so that no Zeltimor.ini lands in the build; a work dir
# whose saga folder the dialog opens on.
mkdir -p "$tmp/bin" "$tmp/ZTEMP/saga"
cp "$exe" "$tmp/bin/velquior.exe"
cp "$root/examples/escuela.xml" "$tmp/ZTEMP/saga/"
to_windows() { printf 'Z:%s' "${1//\//\\}"; }
export VELQUIOR_WORKDIR="$(to_windows "$tmp/ZTEMP")"

# Milliseconds from CreateProcess to the window `caption` of `program`
# visible, as the host measures it; the program is ended at once.
time_start() {  # program caption
  # Into a file, not a pipe: Wine's own processes, started with the first
  # window, inherit the output and outlive the run.
  "$wine_run" "$host" "$(to_windows "$1")" exportar --await "$2" --end-when-shown --timeout 30000 \
    >"$tmp/run.out" 2>&1 || true
  local ms
  ms=$(sed -n 's/^shown //p' "$tmp/run.out")
  if [[ -z "$ms" ]]; then
    echo "No window '$2' from $1: $(cat "$tmp/run.out")" >&2
    exit 1
  fi
  echo "$ms"
}

# Makes the prefix if need be, then keeps one server up for all the runs;
# one start of each first, so that no run pays for loading Wine's files.
"$wine_run" "$host" >/dev/null 2>&1 || true
WINEPREFIX="$VELQUIOR_WINEPREFIX" "$wineserver" -w
WINEPREFIX="$VELQUIOR_WINEPREFIX" "$wineserver" -p
server_up=1
time_start "$empty" "Ventana vacia" >/dev/null
time_start "$tmp/bin/velquior.exe" "Archivo XML" >/dev/null

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }

empty_ms=()
velquior_ms=()
# Alternated, so that a slow spell of the machine falls on both.
for ((i = 1; i <= runs; i++)); do
  empty_ms+=("$(time_start "$empty" "Ventana vacia")")
  velquior_ms+=("$(time_start "$tmp/bin/velquior.exe" "Archivo XML")")
done

empty_median=$(median "${empty_ms[@]}")
velquior_median=$(median "${velquior_ms[@]}")
echo "Empty program, window visible (ms):    ${empty_ms[*]}"
echo "velquior.exe, file dialog visible (ms): ${velquior_ms[*]}"
echo "Empty program median: ${empty_median} ms"
echo "velquior.exe median:  ${velquior_median} ms"
extra=$(awk -v v="$velquior_median" -v e="$empty_median" 'BEGIN { printf "%.1f", v - e }')
echo "Difference: ${extra} ms (limit ${max_extra_ms} ms)"
if awk -v d="$extra" -v m="$max_extra_ms" 'BEGIN { exit !(d > m) }'; then
  echo "velquior.exe takes more than ${max_extra_ms} ms beyond an empty program to show its file dialog" >&2
  exit 1
fi
