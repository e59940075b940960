#!/usr/bin/env bash
# Ramtally run under Wine as a user runs it, at the width of the prefix: the figure it writes is the
# host's total memory in whole MiB, and the Windows C runtime's paths, arguments and text output
# behave as on Windows.
# Usage: ramtally_under_wine.sh <state dir of wine.sh> <Ramtally.exe> <scratch folder>
set -euo pipefail
state=$1 ramtally=$2 scratch=$3
# Not run where wine.sh found that this machine cannot run programs of this width.
if [[ -f $state/not_run ]]; then
  cat "$state/not_run"
  exit 0
fi
# shellcheck source=/dev/null
source "$state/environment"

failures=0
fail() {
  echo "FAILED: $1"
  failures=$((failures + 1))
}

# Runs Ramtally with the given arguments; its standard output and error land in files.
run() {
  local status=0
  "$wine" "$ramtally" "$@" </dev/null >"$scratch/stdout" 2>"$scratch/stderr" || status=$?
  [[ $status -eq 0 ]] || fail "Ramtally $* ended with status $status"
}

# The Windows path of a host folder: Wine's drive Z: is the host's root.
windows_path() { echo "Z:${1//\//\\}"; }

rm -rf "$scratch"
mkdir -p "$scratch/out" "$scratch/with space"
expected=$(awk '/^MemTotal:/ { printf "%d", $2 / 1024 }' /proc/meminfo)

# The figure, and nothing else, replacing what the file held before.
printf 'an older, longer content' >"$scratch/out/ramsize.dat"
run "$(windows_path "$scratch/out")"
figure=$(cat "$scratch/out/ramsize.dat")
[[ $figure == "$expected" ]] || fail "ramsize.dat holds '$figure', the host has $expected MiB"
[[ ! -s $scratch/stdout && ! -s $scratch/stderr ]] || fail "Ramtally printed something on success"

# A trailing backslash gives a doubled separator, which Windows takes.
rm -f "$scratch/out/ramsize.dat"
run "$(windows_path "$scratch/out")\\"
[[ $(cat "$scratch/out/ramsize.dat" 2>/dev/null) == "$expected" ]] ||
  fail "no figure written through a folder given with a trailing backslash"

# A folder whose name holds a space, given as one argument.
run "$(windows_path "$scratch/with space")"
[[ $(cat "$scratch/with space/ramsize.dat" 2>/dev/null) == "$expected" ]] ||
  fail "no figure written into a folder whose name holds a space"

# No argument, or two: the usage message, in text mode (CR LF).
for arguments in "" "one two"; do
  # shellcheck disable=SC2086
  run $arguments
  printf 'Usage: Ramtally outdir\r\n' | cmp -s - "$scratch/stdout" ||
    fail "with arguments '$arguments' the usage message was '$(cat -A "$scratch/stdout")'"
done

# A folder that does not exist: the message names the file only.
run "$(windows_path "$scratch/missing")"
printf 'Cannot open ramsize.dat\r\n' | cmp -s - "$scratch/stderr" ||
  fail "for a missing folder the message was '$(cat -A "$scratch/stderr")'"
[[ ! -e $scratch/missing ]] || fail "a missing folder was made"

if ((failures)); then
  exit 1
fi
echo "Ramtally wrote $expected MiB, the host's total memory, and behaved as on Windows"
