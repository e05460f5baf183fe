#!/usr/bin/env bash
# The host and the dialog driver of the end-to-end test against a stand-in
# with the converter's dialogs, so that a fault of theirs shows apart from
# the window's: the embedding seen, the file typed and opened, the box read.
#   host_tools_check.sh HOST.exe DRIVER.exe STANDIN.exe WINE_RUN SAMPLE.xml
set -euo pipefail

if [[ -z "${DISPLAY:-}" && -z "${VELQUIOR_E2E_DISPLAY:-}" ]]; then
  exec env VELQUIOR_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
host_exe=$1 driver_exe=$2 standin=$3 wine_run=$4 sample=$5
tmp=$(mktemp -d "${TMPDIR:-/tmp}/velquior-tools.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
source "$(dirname "$0")/e2e_lib.sh"

echo "== a file chosen"
start_host "$standin" exportar
drive abrir "$(windows_path "$sample")"
confirm_box "Proceso finalizado" ""
finish_host
[[ "$ended" == 1 ]] || fail "the stand-in did not open the file: $(cat "$tmp/host.out")"
[[ "$(field embedded)" == "Exportar e importar datos entre Zeltimor y SAGA" ]] || fail "embedding not seen"
[[ "$(field shown)" =~ ^[0-9.]+$ ]] || fail "the dialog's time not reported"

echo "== the dialog cancelled"
start_host "$standin" importar
drive cancelar
confirm_box "No existe archivo" ""
finish_host
[[ "$ended" == 0 ]] || fail "the stand-in did not see a cancel: $(cat "$tmp/host.out")"

echo "== the host's window destroyed, the converter kept alive by its dialog"
start_host "$standin" exportar --destroy-when-shown 300 --timeout 8000
finish_host
[[ "$ended" == timeout ]] || fail "the host did not end a converter that outlived it"
has_field destroyed || fail "the host did not destroy its window"

if [[ $failures -ne 0 ]]; then echo "$failures failure(s)"; exit 1; fi
echo "the host and the driver behaved"
