#!/usr/bin/env bash
# The main job until the window exists: export the bundled sample school into
# a fresh temporary work directory and show what was written.
set -euo pipefail
build=${1:-build}
convert="$build/cli/velquior-convert"
workdir=$(mktemp -d "${TMPDIR:-/tmp}/velquior-ZTEMP.XXXXXX")
echo "Work directory: $workdir"
"$convert" export examples/escuela.xml --workdir "$workdir"
echo
for t in ASIGNOMT PROFT AULAT GRUPOST ASIGT; do
  "$convert" dump "$workdir/$t.DBF" | head -n 40
  echo
done
