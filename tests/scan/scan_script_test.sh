#!/usr/bin/env bash
# scripts/scan in a build tree that is up to date: the scan program's own lines, and nothing of the
# build on the standard error.
set -euo pipefail
script="$1"
out="$(mktemp)"
err="$(mktemp)"
trap 'rm -f "$out" "$err"' EXIT
status=0
"$script" --help >"$out" 2>"$err" || status=$?
if ((status != 0)); then
  echo "scripts/scan --help ended with status $status"
  cat "$err"
  exit 1
fi
if [[ -s "$err" ]]; then
  echo "scripts/scan wrote to the standard error although it built nothing:"
  cat "$err"
  exit 1
fi
if ! head -n 1 "$out" | grep -qx "Usage: scan \[options\] OUTPUT"; then
  echo "scripts/scan --help printed no usage:"
  cat "$out"
  exit 1
fi
echo "1 passed, 0 failed"
