#!/usr/bin/env bash
# Runs the DIB fuzzer for a number of seconds over a corpus seeded from the BMP suite, each seed a
# suite file without its 14-byte file header. Inputs that crash land in <work dir>/findings.
# Usage: run_dib_fuzzer.sh <fuzzer> <bmpsuite dir> <work dir> <seconds>
set -euo pipefail
fuzzer=$1
suite=$2
work=$3
seconds=$4

mkdir -p "$work/seeds" "$work/corpus" "$work/findings"
for bmp in "$suite"/g/*.bmp "$suite"/q/*.bmp "$suite"/b/*.bmp; do
  set_name=$(basename "$(dirname "$bmp")")
  seed="$work/seeds/${set_name}_$(basename "$bmp" .bmp)"
  [[ -f $seed ]] || tail -c +15 "$bmp" >"$seed"
done

exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/findings/" "$work/corpus" "$work/seeds"
