#!/usr/bin/env bash
# The main job until the window exists: export the bundled sample school into
# a fresh temporary work directory and show what was written.
set -euo pipefail
build=${1:-build}
convert="$build/cli/velquior-convert"

# A reader that stops early (`make run | head -n 1`) makes writes fail
# instead of killing the demo; once nobody reads, there is nothing left to do.
trap '' PIPE
say() { printf '%s\n' "$@" 2>/dev/null || exit 0; }

workdir=$(mktemp -d "${TMPDIR:-/tmp}/velquior-ZTEMP.XXXXXX")
say "Work directory: $workdir"
"$convert" export examples/escuela.xml --workdir "$workdir"
say ""
for t in ASIGNOMT PROFT AULAT GRUPOST ASIGT; do
  # The whole listing first, so a failing dump fails the demo and no pipe
  # cut short by `head` can.
  listing=$("$convert" dump "$workdir/$t.DBF")
  say "$(head -n 40 <<<"$listing")" ""
done
