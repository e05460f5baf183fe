#!/usr/bin/env bash
# A reader that stops early is no error: the converter's listings and the
# demo of `make run` end with status 0 and say nothing; a listing that cannot
# be written for any other reason is an error.
#   closed_output.sh VELQUIOR_CONVERT SOURCE_DIR BUILD_DIR
set -uo pipefail
convert=$1 source=$2 build=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$convert" export "$source/examples/escuela.xml" --workdir "$tmp" >/dev/null || fail "export for the listings"

# Standard output a pipe whose reader is already gone: every write fails.
gone() {
  local status
  exec {out}> >(:)
  wait $!
  "$@" >&$out 2>"$tmp/err"
  status=$?
  exec {out}>&-
  return $status
}

for args in "dump $tmp/ASIGT.DBF" "dump $tmp/ASIGT.DBF --json" "check $source/examples/escuela.xml --workdir $tmp"; do
  # shellcheck disable=SC2086
  "$convert" $args >/dev/null
  want=$?
  # shellcheck disable=SC2086
  gone "$convert" $args
  status=$?
  [[ $status == "$want" ]] || fail "$args into a closed pipe: status $status, not $want"
  [[ ! -s $tmp/err ]] || fail "$args into a closed pipe said: $(cat "$tmp/err")"
done

# Nobody reading the export's report leaves its tables complete all the same.
rm -f "$tmp"/*.DBF
gone "$convert" export "$source/examples/escuela.xml" --workdir "$tmp" || fail "export into a closed pipe: status $?"
[[ $(ls "$tmp"/*.DBF | wc -l) == 6 ]] || fail "export into a closed pipe wrote $(ls "$tmp")"

# A full disk is an error.
if [[ -w /dev/full ]]; then
  "$convert" dump "$tmp/ASIGT.DBF" >/dev/full 2>"$tmp/err"
  status=$?
  [[ $status == 1 ]] || fail "dump to a full disk: status $status"
  grep -qx "No se pudo escribir en la salida estándar." "$tmp/err" || fail "dump to a full disk said: $(cat "$tmp/err")"
fi

# The demo of `make run` without a display, read by `head` or by nobody.
cd "$source"
export TMPDIR=$tmp DISPLAY= WAYLAND_DISPLAY=
gone bash scripts/run.sh "$build" || fail "the demo read by nobody: status $?, $(cat "$tmp/err")"
for lines in 1 45; do
  bash scripts/run.sh "$build" 2>"$tmp/err" | head -n "$lines" >/dev/null
  status=${PIPESTATUS[0]}
  [[ $status == 0 ]] || fail "the demo read for $lines lines: status $status, $(cat "$tmp/err")"
  [[ ! -s $tmp/err ]] || fail "the demo read for $lines lines said: $(cat "$tmp/err")"
done

exit $((failures > 0))
