#!/usr/bin/env bash
# Times `velquior-convert --version` from start to end: the best and the
# median of N runs, in milliseconds.
set -euo pipefail
convert=${1:-build-release/cli/velquior-convert}
runs=${2:-200}
times=()
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  "$convert" --version > /dev/null
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
awk -v n="$runs" -v best="${sorted[0]}" -v med="${sorted[$((runs / 2))]}" \
  'BEGIN { printf "velquior-convert --version over %d runs: best %.2f ms, median %.2f ms\n", n, best / 1000, med / 1000 }'
