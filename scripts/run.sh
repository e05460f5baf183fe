#!/usr/bin/env bash
# `make run`: the window where a display exists, the command-line demo of the
# sample school where none does.
#   scripts/run.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -x "$build/app/velquior" ]]; then
  if [[ -z "${VELQUIOR_WORKDIR:-}" ]]; then
    # A fresh work directory whose "saga" folder, where the file dialog
    # opens, holds the sample school.
    VELQUIOR_WORKDIR=$(mktemp -d "${TMPDIR:-/tmp}/velquior-ZTEMP.XXXXXX")
    mkdir "$VELQUIOR_WORKDIR/saga"
    cp examples/escuela.xml "$VELQUIOR_WORKDIR/saga/"
    export VELQUIOR_WORKDIR
  fi
  echo "Work directory: $VELQUIOR_WORKDIR"
  exec "$build/app/velquior"
fi
exec bash scripts/demo.sh "$build"
