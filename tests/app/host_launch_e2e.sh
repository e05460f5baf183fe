#!/usr/bin/env bash
# The host launch end to end, on a virtual X display: a stand-in host starts
# the converter with its window handle; the test answers the real dialogs
# with xdotool and checks the embedding, the tables and Zeltimor.ini.
#   host_launch_e2e.sh VELQUIOR TEST_HOST SAMPLE.xml
set -euo pipefail

if [[ -z "${VELQUIOR_E2E_DISPLAY:-}" ]]; then
  exec env VELQUIOR_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

velquior_bin=$1 host_bin=$2 sample=$3
tmp=$(mktemp -d "${TMPDIR:-/tmp}/velquior-e2e.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
export XDG_RUNTIME_DIR=$tmp/run && mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_DATA_HOME=$tmp/data  # the history of these runs, not the user's
mkdir "$tmp/bin"
cp "$velquior_bin" "$tmp/bin/velquior"  # Zeltimor.ini goes beside this copy
ini=$tmp/bin/Zeltimor.ini
export VELQUIOR_WORKDIR=$tmp/ZTEMP
mkdir -p "$VELQUIOR_WORKDIR/saga"
cp "$sample" "$VELQUIOR_WORKDIR/saga/escuela.xml"

caption="Exportar e importar datos entre Zeltimor y SAGA"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
now_ms() { date +%s%3N; }

# Waits (up to 10 s) for a visible window with exactly this name; prints its id.
wait_window() {
  local id
  for _ in $(seq 1000); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
    if [[ -n "$id" ]]; then echo "$id"; return 0; fi
    sleep 0.01
  done
  return 1
}
field() { sed -n "s/^$1 //p" "$tmp/host.out" | head -n 1; }
wait_field() { for _ in $(seq 500); do [[ -n "$(field "$1")" ]] && return 0; sleep 0.01; done; return 1; }

start_host() {  # conversion [handle]
  rm -f "$tmp/host.out"
  "$host_bin" "$tmp/bin/velquior" "$@" >"$tmp/host.out" 2>"$tmp/host.err" &
  host_pid=$!
  wait_field host && wait_field started
}
finish_host() {  # expected ini value
  local status=0
  wait "$host_pid" || status=$?
  [[ $status -eq 0 ]] || fail "velquior ended with status $status"
  local expected=$'[Transformadores]\r\nTransformado='"$1"$'\r'
  [[ "$(cat "$ini" 2>/dev/null)" == "$expected" ]] || fail "Zeltimor.ini holds '$(cat "$ini" 2>/dev/null)', not $1"
}
answer() {  # window name, keys...
  local id
  id=$(wait_window "$1") || { fail "no window '$1'"; return 1; }
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  shift
  "$@"
}
is_child_of_host() { xwininfo -tree -id "$(field host)" | grep -qF "\"$caption\""; }

echo "== exportar, the sample typed into the dialog"
rm -f "$ini"
start_host exportar
dialog=$(wait_window "Archivo XML") || fail "no file dialog"
echo "file dialog on screen after $(( $(now_ms) - $(field started) )) ms"
is_child_of_host || fail "the converter's window is not a child of the host's window"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 1 "$VELQUIOR_WORKDIR/saga/escuela.xml"
xdotool key Return
box=$(wait_window Velquior) || fail "no message box"
xdotool windowfocus --sync "$box" 2>/dev/null || true
confirmed=$(now_ms)
xdotool key Return
finish_host 1
echo "window closed $(( $(field finished) - confirmed )) ms after the last message was confirmed"
for t in ASIGNOMT PROFT AULAT GRUPOST ASIGT DIASHORAST; do
  [[ -s "$VELQUIOR_WORKDIR/$t.DBF" ]] || fail "$t.DBF not written"
done

echo "== exportar, dialog cancelled"
rm -f "$ini"
start_host EXPORTAR
answer "Archivo XML" xdotool key Escape
answer Velquior xdotool key Return
finish_host -1

echo "== importar, dialog cancelled"
printf '; kept\r\n[Otra]\r\nA=b\r\n' >"$ini"
start_host importar
answer "Archivo XML" xdotool key Escape
answer Velquior xdotool key Return
wait "$host_pid" || fail "velquior failed"
[[ "$(cat "$ini")" == $'; kept\r\n[Otra]\r\nA=b\r\n[Transformadores]\r\nTransformado=0\r' ]] || fail "other sections not kept: $(cat -A "$ini")"

echo "== exportar with a handle that names no window"
rm -f "$ini"
start_host exportar 1FFFFFFF
answer "Archivo XML" true
is_child_of_host && fail "embedded into a window that does not exist"
xdotool key Escape
answer Velquior xdotool key Return
finish_host -1

echo "== exportar ending in an error: the embedded window stays until Salir"
rm -f "$ini"
printf 'no es xml' >"$VELQUIOR_WORKDIR/roto.xml"
start_host exportar
dialog=$(wait_window "Archivo XML") || fail "no file dialog"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 1 "$VELQUIOR_WORKDIR/roto.xml"
xdotool key Return
answer Velquior xdotool key Return
if form=$(wait_window "$caption"); then
  info=$(xwininfo -id "$form")
  grep -q "Map State: IsViewable" <<<"$info" || fail "embedded window not on screen"
  # Centred as on the screen, counted from the host's client area.
  grep -q "Relative upper-left X:  $(( (1280 - 632) / 2 ))$" <<<"$info" || fail "not centred: $info"
  grep -q "Width: 632$" <<<"$info" && grep -q "Height: 266$" <<<"$info" || fail "wrong size: $info"
  is_child_of_host || fail "the window left the host's window"
  xdotool windowfocus --sync "$form" 2>/dev/null || true
  xdotool key alt+s
else
  fail "the window did not stay open after the error"
fi
finish_host 0

# The host's window destroyed under ours: its client killed, as when the
# timetabling program dies. Ours goes with it, writes the current code and ends.
gone() { for _ in $(seq 1000); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.01; done; return 1; }
host_window_destroyed() {  # what is on screen, then the expected ini value
  local converter
  converter=$(field converter)
  xdotool windowkill "$(field host)" 2>/dev/null || fail "could not destroy the host's window"
  wait "$host_pid" 2>/dev/null || true
  gone "$converter" || { fail "velquior kept running without its host ($1)"; kill "$converter"; }
  local expected=$'[Transformadores]\r\nTransformado='"$2"$'\r'
  [[ "$(cat "$ini" 2>/dev/null)" == "$expected" ]] || fail "Zeltimor.ini holds '$(cat "$ini" 2>/dev/null)', not $2 ($1)"
}

echo "== the host's window destroyed while the file dialog is up"
rm -f "$ini"
start_host exportar
wait_window "Archivo XML" >/dev/null || fail "no file dialog"
host_window_destroyed "file dialog" 0

echo "== the host's window destroyed while ours shows, after an error"
rm -f "$ini"
start_host exportar
answer "Archivo XML" xdotool type --delay 1 "$VELQUIOR_WORKDIR/roto.xml"
xdotool key Return
answer Velquior xdotool key Return
wait_window "$caption" >/dev/null || fail "the window did not stay open after the error"
host_window_destroyed "window shown" 0

# velquior deshacer: boxes only. Of the runs above only the first export
# replaced anything (the work directory had no tables before it).
box_answered() {  # key: presses it in the next box and waits until that box is gone
  local id
  id=$(wait_window Velquior) || { fail "no box"; return 1; }
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  xdotool key "$1"
  for _ in $(seq 500); do xdotool getwindowname "$id" >/dev/null 2>&1 || return 0; sleep 0.01; done
  fail "the box stayed after $1"
}
tables_present() { local n=0; for t in ASIGNOMT PROFT AULAT GRUPOST ASIGT DIASHORAST; do [[ -f "$VELQUIOR_WORKDIR/$t.DBF" ]] && n=$((n + 1)); done; echo $n; }

echo "== deshacer, declined: nothing changes"
"$tmp/bin/velquior" deshacer & undo_pid=$!
box_answered Escape
wait "$undo_pid" || fail "velquior deshacer failed after Cancelar"
[[ $(tables_present) -eq 6 ]] || fail "a declined undo changed the tables"

echo "== deshacer, accepted: the export undone, then the undo undone"
for expected in 0 6; do
  "$tmp/bin/velquior" deshacer & undo_pid=$!
  box_answered Return  # the question: "Deshacer" is the default
  box_answered Return  # what it put back
  wait "$undo_pid" || fail "velquior deshacer failed"
  [[ $(tables_present) -eq $expected ]] || fail "after the undo $(tables_present) tables, not $expected"
done

echo "== deshacer with an empty history"
XDG_DATA_HOME=$tmp/empty "$tmp/bin/velquior" deshacer & undo_pid=$!
box_answered Return
wait "$undo_pid" || fail "velquior deshacer failed with an empty history"

if [[ $failures -ne 0 ]]; then
  echo "$failures failure(s)"; cat "$tmp/host.err" >&2; exit 1
fi
echo "all host launches behaved"
