#!/usr/bin/env bash
# The host launch of velquior.exe end to end under Wine: a stand-in host
# starts it with its window handle, the driver answers its real dialogs, and
# the test checks the embedding, the tables and Zeltimor.ini.
#   host_launch_e2e.sh VELQUIOR.exe HOST.exe DRIVER.exe WINE_RUN SAMPLE.xml
set -euo pipefail

if [[ -z "${DISPLAY:-}" && -z "${VELQUIOR_E2E_DISPLAY:-}" ]]; then
  exec env VELQUIOR_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
velquior_exe=$1 host_exe=$2 driver_exe=$3 wine_run=$4 sample=$5
tmp=$(mktemp -d "${TMPDIR:-/tmp}/velquior-e2e.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
source "$(dirname "$0")/e2e_lib.sh"

mkdir "$tmp/bin"
cp "$velquior_exe" "$tmp/bin/velquior.exe"  # Zeltimor.ini goes beside this copy
cp "$(dirname "$velquior_exe")"/*.chm "$tmp/bin/" 2>/dev/null || true
exe=$tmp/bin/velquior.exe
ini=$tmp/bin/Zeltimor.ini
workdir=$tmp/ZTEMP
mkdir -p "$workdir/saga"
cp "$sample" "$workdir/saga/escuela.xml"
VELQUIOR_WORKDIR=$(windows_path "$workdir")
export VELQUIOR_WORKDIR

caption="Exportar e importar datos entre Zeltimor y SAGA"
tables=(ASIGNOMT PROFT AULAT GRUPOST ASIGT DIASHORAST)

ini_holds() {  # expected code, what was run
  local expected=$'[Transformadores]\r\nTransformado='"$1"$'\r'
  [[ "$(cat "$ini" 2>/dev/null)" == "$expected" ]] || fail "Zeltimor.ini holds '$(cat -A "$ini" 2>/dev/null)', not $1 ($2)"
}
ended_well() {  # what was run
  finish_host
  [[ "$ended" == 0 ]] || fail "velquior.exe ended with '$ended' ($1); the host saw: $(tr '\n' ';' <"$tmp/host.out")"
}

echo "== exportar, the sample's full name typed into the dialog"
rm -f "$ini"
start_host "$exe" exportar
drive abrir "$(windows_path "$workdir/saga/escuela.xml")"
confirm_box "Proceso finalizado" "Aceptar"
ended_well "exportar"
echo "file dialog visible $(field shown) ms after CreateProcess"
[[ "$(field embedded)" == "$caption" ]] || fail "no window '$caption' seen inside the host's: '$(field embedded)'"
for t in "${tables[@]}"; do
  [[ -s "$workdir/$t.DBF" ]] || fail "$t.DBF not written"
done
ini_holds 1 "exportar"

echo "== exportar, the bare name: the dialog starts in the work dir's saga folder"
rm -f "$ini" "$workdir"/*.DBF
start_host "$exe" exportar
drive abrir "escuela.xml"
confirm_box "Proceso finalizado" "Aceptar"
ended_well "exportar, bare name"
[[ -s "$workdir/ASIGT.DBF" ]] || fail "ASIGT.DBF not written from the bare name"
ini_holds 1 "exportar, bare name"

echo "== EXPORTAR, dialog cancelled"
rm -f "$ini"
start_host "$exe" EXPORTAR
drive cancelar
confirm_box "No existe archivo" "Aceptar"
ended_well "EXPORTAR cancelled"
ini_holds -1 "EXPORTAR cancelled"

echo "== importar, dialog cancelled: the file's other sections kept"
printf '; kept\r\n[Otra]\r\nA=b\r\n' >"$ini"
start_host "$exe" importar
drive cancelar
confirm_box "No existe archivo" "Aceptar"
ended_well "importar cancelled"
[[ "$(cat "$ini")" == $'; kept\r\n[Otra]\r\nA=b\r\n[Transformadores]\r\nTransformado=0\r' ]] ||
  fail "Zeltimor.ini after importar cancelled: $(cat -A "$ini")"

echo "== exportar with a handle that names no window"
rm -f "$ini"
start_host "$exe" exportar --handle 1FFFFFFF
drive cancelar
has_field embedded && fail "a window of velquior.exe went into the host's, not named"
confirm_box "No existe archivo" "Aceptar"
ended_well "no such window"
ini_holds -1 "no such window"

echo "== the host's window destroyed while the file dialog is up"
rm -f "$ini"
before=$(md5sum "$workdir/saga/escuela.xml")
start_host "$exe" exportar --destroy-when-shown 500 --timeout 30000
finish_host
has_field destroyed || fail "the host's window was not destroyed"
[[ "$ended" != timeout ]] || fail "velquior.exe kept running without its host"
ini_holds 0 "host lost"
[[ "$(md5sum "$workdir/saga/escuela.xml")" == "$before" ]] || fail "the document changed"

# The newest entry of the script's history: the bare-name export, into a
# work directory without tables.
echo "== deshacer: the question, then what it put back"
start_host "$exe" deshacer --bare --await Velquior
drive aviso
[[ "$(sed -n 's/^texto //p' <<<"$driven")" == "Exportación del "*": seis tablas de $VELQUIOR_WORKDIR" ]] ||
  fail "the question begins '$(sed -n 's/^texto //p' <<<"$driven")'"
[[ "$(sed -n 's/^botones //p' <<<"$driven")" == "Deshacer|Cancelar" ]] || fail "the question's buttons: $driven"
drive aviso
[[ "$(sed -n 's/^texto //p' <<<"$driven")" == "Se ha puesto de nuevo lo que había antes de la exportación del "* ]] ||
  fail "after the undo the box says '$driven'"
finish_host
[[ "$ended" == 0 ]] || fail "velquior.exe deshacer ended with '$ended'"
for t in "${tables[@]}"; do
  [[ ! -e "$workdir/$t.DBF" ]] || fail "$t.DBF still there after the undo"
done

if [[ $failures -ne 0 ]]; then
  echo "$failures failure(s)"; cat "$tmp/host.err" >&2; exit 1
fi
echo "all host launches behaved under Wine"
