#!/usr/bin/env bash
# Runs the container fuzzer for a number of seconds over a corpus seeded with one sound container of
# each kind. Inputs that crash land in <work dir>/findings.
# Usage: run_container_fuzzer.sh <fuzzer> <work dir> <seconds>
set -euo pipefail
fuzzer=$1
work=$2
seconds=$3

mkdir -p "$work/seeds" "$work/corpus" "$work/findings"
# Container type, then the block: a UINT16 one value, a FIX32 enumeration of two, a STR32 array of
# one, an INT16 range.
printf '\x05\x00\x04\x00\x2a\x00\x00\x00' >"$work/seeds/one_value"
printf '\x04\x00\x07\x00\x02\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x4b\x00\x00\x00\x64\x00\x00\x00' \
  >"$work/seeds/enumeration"
{ printf '\x03\x00\x09\x00\x01\x00\x00\x00abc'; head -c 31 /dev/zero; } >"$work/seeds/array"
printf '\x06\x00\x01\x00\x00\x00\x00\x00\x0a\x00\x00\x00\x01\x00\x00\x00\x05\x00\x00\x00\x05\x00\x00\x00' \
  >"$work/seeds/range"

exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/findings/" "$work/corpus" "$work/seeds"
