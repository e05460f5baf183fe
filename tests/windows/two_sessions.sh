#!/usr/bin/env bash
# Two conversions against one work directory from two Windows sessions,
# whose named objects cannot see each other (fast user switching, Remote
# Desktop). Two Wine servers stand for the two sessions: the suite's prefix
# and a second prefix that shares its drive C. While a run of the first
# session holds the work directory, an export from the second is refused and
# touches nothing: not the old tables, not the live run's staging folder.
#   two_sessions.sh CONVERT.exe HOLDER.exe WINE_RUN SAMPLE.xml
set -euo pipefail
convert=$1 holder=$2 wine_run=$3 sample=$4
first=${VELQUIOR_WINEPREFIX:?the suite\'s prefix}
tmp=$(mktemp -d "${TMPDIR:-/tmp}/velquior-sessions.XXXXXX")
second=$tmp/second-prefix

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
windows_path() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }
# Every Wine program's output goes to a file: the second session's server
# and background programs inherit it and outlive the program.
in_second() { VELQUIOR_WINEPREFIX=$second "$wine_run" "$@" </dev/null; }
finish() {
  touch "$tmp/stop"
  [[ -n "${holder_pid:-}" ]] && wait "$holder_pid" 2>/dev/null || true
  WINEPREFIX=$second /usr/lib/wine/wineserver -k 2>/dev/null || true
  WINEPREFIX=$second /usr/lib/wine/wineserver -w 2>/dev/null || true
  rm -rf "$tmp"
}
trap finish EXIT

mkdir -p "$second/dosdevices"
cp -a "$first"/*.reg "$second"/
[[ -f "$first/.update-timestamp" ]] && cp -a "$first/.update-timestamp" "$second"/
ln -s "$first/drive_c" "$second/drive_c"
ln -s ../drive_c "$second/dosdevices/c:"
ln -s / "$second/dosdevices/z:"

work=$tmp/ZTEMP
mkdir -p "$work/.velquior-vivo01"
tables=(ASIGNOMT ASIGT AULAT DIASHORAST GRUPOST PROFT)
for t in "${tables[@]}"; do printf 'old %s' "$t" >"$work/$t.DBF"; done
# What the first session's live run has built so far.
printf 'staged PROFT' >"$work/.velquior-vivo01/PROFT.DBF"

echo "== the first session holds the work directory"
"$wine_run" "$holder" hold "$(windows_path "$work")" "$(windows_path "$tmp/stop")" \
  </dev/null >"$tmp/holder.out" 2>&1 &
holder_pid=$!
for _ in $(seq 600); do grep -qs '^held' "$tmp/holder.out" && break; sleep 0.05; done
grep -qs '^held' "$tmp/holder.out" || fail "the holder did not take the lock: $(cat "$tmp/holder.out")"

echo "== the sessions are apart: a named object of one is not seen by the other"
"$wine_run" "$holder" probe </dev/null >/dev/null 2>&1 || fail "the first session does not see its own object"
if in_second "$holder" probe >"$tmp/probe.out" 2>&1; then fail "the second session sees the first one's objects"; fi

echo "== an export from the second session"
status=0
in_second "$convert" export "$(windows_path "$sample")" --workdir "$(windows_path "$work")" \
  >"$tmp/out" 2>"$tmp/err" || status=$?
expected="El directorio de trabajo $(windows_path "$work") está en uso por otra conversión."
[[ $status -eq 1 ]] || fail "status $status, not 1: $(cat "$tmp/out" "$tmp/err")"
[[ "$(tr -d '\r' <"$tmp/err")" == "$expected" ]] || fail "message: $(cat "$tmp/err")"
for t in "${tables[@]}"; do
  [[ "$(cat "$work/$t.DBF")" == "old $t" ]] || fail "$t.DBF changed"
done
[[ "$(cat "$work/.velquior-vivo01/PROFT.DBF" 2>/dev/null)" == "staged PROFT" ]] ||
  fail "the live run's staging folder was touched"

echo "== the first session done, the second one exports"
touch "$tmp/stop"
wait "$holder_pid" || fail "the holder failed"
holder_pid=
status=0
in_second "$convert" export "$(windows_path "$sample")" --workdir "$(windows_path "$work")" \
  >"$tmp/out" 2>"$tmp/err" || status=$?
[[ $status -eq 0 ]] || fail "status $status after the lock was let go: $(cat "$tmp/err")"
[[ "$(head -c 3 "$work/PROFT.DBF")" != "old" ]] || fail "PROFT.DBF not replaced"

if [[ $failures -ne 0 ]]; then echo "$failures failure(s)"; exit 1; fi
echo "one run at a time across sessions, nothing lost"
