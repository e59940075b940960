#!/usr/bin/env bash
# wine.sh on a machine whose kernel refuses programs of the loader's width, as a kernel without
# IA-32 emulation refuses 32-bit ones: the fixture and every program report themselves as not run,
# with the reason, and start no display; so do the check of the 32-bit loader of a 64-bit prefix
# and every program that starts 32-bit ones. A loader that fails for any other reason is a
# failure.
# The refused loader is an ELF image for a machine that no kernel here runs, which the kernel
# refuses as it refuses a 32-bit x86 one there (exec format error).
# Usage: not_run_test.sh <wine.sh> <ramtally_under_wine.sh> <scratch folder>
set -euo pipefail
wine_sh=$1 ramtally_sh=$2 scratch=$3

failures=0
fail() {
  echo "FAILED: $1"
  failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch"
refused=$scratch/refused-loader
# A 32-bit little-endian ELF header, executable, for machine 0xfffe.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xfe\xff\x01\x00\x00\x00' \
  >"$refused"
head -c 28 /dev/zero >>"$refused"
chmod +x "$refused"
broken=$scratch/broken-loader
printf '#!/bin/sh\necho "loader broken" >&2\nexit 3\n' >"$broken"
chmod +x "$broken"

# Loader | whether the fixture starts (0) or fails | what it prints.
refusal="^Not run: this machine cannot run win32 programs: the kernel refuses $refused"
cases=(
  "$refused|0|$refusal \(.*Exec format error\)"
  "$broken|1|failed with status 3: loader broken"
)
for case in "${cases[@]}"; do
  IFS='|' read -r loader expected_status expected_output <<<"$case"
  state=$scratch/state-$(basename "$loader")
  status=0
  output=$("$wine_sh" start "$state" win32 "$loader" "$scratch/no-wineserver" "$scratch/no-Xvfb" \
    2>&1) || status=$?
  [[ $status == "$expected_status" ]] ||
    fail "start with $loader ended with status $status, not $expected_status: $output"
  [[ $output =~ $expected_output ]] || fail "start with $loader printed '$output'"
  [[ ! -e $state/xvfb.pid ]] || fail "start with $loader started a display"
done

# Every program of the refused width, and Ramtally's script, says the same and is not run.
state=$scratch/state-refused-loader
reason=$(cat "$state/not_run")
for command in "$wine_sh run $state program.exe --argument" \
  "$ramtally_sh $state Ramtally.exe $scratch/ramtally"; do
  status=0
  output=$($command 2>&1) || status=$?
  [[ $status == 0 && $output == "$reason" ]] ||
    fail "'$command' ended with status $status and printed '$output', not the reason"
done

# The 32-bit loader of a 64-bit prefix: the same table, through `wow64` and `run-wow64`.
wow64_refusal="^Not run: this machine cannot run 32-bit programs under WoW64: the kernel refuses $refused"
cases=(
  "$refused|0|$wow64_refusal \(.*Exec format error\)"
  "$broken|1|failed with status 3: loader broken"
)
for case in "${cases[@]}"; do
  IFS='|' read -r loader expected_status expected_output <<<"$case"
  state=$scratch/wow64-$(basename "$loader")
  status=0
  output=$("$wine_sh" wow64 "$state" "$loader" 2>&1) || status=$?
  [[ $status == "$expected_status" ]] ||
    fail "wow64 with $loader ended with status $status, not $expected_status: $output"
  [[ $output =~ $expected_output ]] || fail "wow64 with $loader printed '$output'"
done
state=$scratch/wow64-refused-loader
status=0
output=$("$wine_sh" run-wow64 "$state" parent.exe 2>&1) || status=$?
[[ $status == 0 && $output == "$(cat "$state/not_run_wow64")" ]] ||
  fail "run-wow64 ended with status $status and printed '$output', not the reason"

if ((failures)); then
  exit 1
fi
echo "Where the kernel refuses the loader, the fixture and each program say so and are not run"
