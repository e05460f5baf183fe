#!/usr/bin/env bash
# The host launch on scaled screens under Wine: at 96, 120 and 144 dpi (the
# prefix's LogPixels), with a stand-in host that scales itself and one that
# does not, the window inside the host's is as large as the dpi the host
# reports makes it, placed by the centring formula in the host's client
# area, and the launch ends as usual. A prefix of its own: the dpi is the
# whole prefix's.
#   host_dpi_e2e.sh VELQUIOR.exe HOST.exe DRIVER.exe WINE_RUN
set -euo pipefail

if [[ -z "${DISPLAY:-}" && -z "${VELQUIOR_E2E_DISPLAY:-}" ]]; then
  exec env VELQUIOR_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
velquior_exe=$1 host_exe=$2 driver_exe=$3 wine_run=$4
tmp=$(mktemp -d "${TMPDIR:-/tmp}/velquior-dpi.XXXXXX")
export VELQUIOR_WINEPREFIX=$tmp/wineprefix
# This prefix's server and background programs are started here with no
# output of ours to hold, and ended with the test.
cleanup() {
  WINEPREFIX=$VELQUIOR_WINEPREFIX /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  rm -rf "$tmp"
}
trap cleanup EXIT
source "$(dirname "$0")/e2e_lib.sh"
"$wine_run" cmd /c exit </dev/null >/dev/null 2>&1

mkdir "$tmp/bin"
cp "$velquior_exe" "$tmp/bin/velquior.exe"
exe=$tmp/bin/velquior.exe
export VELQUIOR_WORKDIR
VELQUIOR_WORKDIR=$(windows_path "$tmp")

quiet_wine() { "$wine_run" "$@" </dev/null >/dev/null 2>&1; }
# A new dpi is read when the prefix's session starts: the session restarts.
set_dpi() {
  for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    quiet_wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f
  done
  WINEPREFIX=$VELQUIOR_WINEPREFIX /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$VELQUIOR_WINEPREFIX /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
  quiet_wine cmd /c exit
}

for dpi in 96 120 144; do
  set_dpi "$dpi"
  for aware in "" --dpi-aware; do
    echo "== $dpi dpi, host ${aware:-not dpi-aware}"
    start_host "$exe" exportar $aware || continue
    drive cancelar
    confirm_box "No existe archivo" "Aceptar"
    finish_host
    [[ "$ended" == 0 ]] || fail "velquior.exe ended with '$ended' at $dpi dpi $aware"
    read -r left top width height host_dpi <<<"$(field placed)"
    echo "placed ${left:-?} ${top:-?} ${width:-?}x${height:-?} in a host at ${host_dpi:-?} dpi"
    [[ -n "${host_dpi:-}" ]] || { fail "no embedded window seen at $dpi dpi $aware"; continue; }
    # The client area at 96 dpi is 632 by 266, scaled as MulDiv rounds.
    want_width=$(( (632 * host_dpi + 48) / 96 )) want_height=$(( (266 * host_dpi + 48) / 96 ))
    [[ "$width" == "$want_width" && "$height" == "$want_height" ]] ||
      fail "at $dpi dpi $aware the window is ${width}x${height}, not ${want_width}x${want_height}"
    [[ "$left" -ge 0 && "$top" -ge 0 ]] || fail "at $dpi dpi $aware the window sits at $left,$top"
  done
done

if [[ $failures -ne 0 ]]; then
  echo "$failures failure(s)"; exit 1
fi
echo "the embedded window took the host's scale at every dpi"
