#!/usr/bin/env bash
# Runs the strip and tile fuzzer for a number of seconds over the corpus it has grown. Inputs that
# crash land in <work dir>/findings.
# Usage: run_strip_fuzzer.sh <fuzzer> <work dir> <seconds>
set -euo pipefail
fuzzer=$1
work=$2
seconds=$3

mkdir -p "$work/corpus" "$work/findings"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/findings/" "$work/corpus"
