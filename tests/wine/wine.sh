#!/usr/bin/env bash
# The Wine environment of one test run: one Xvfb, one persistent wineserver and one prefix in the
# build tree, shared by every Windows program that ctest runs.
#
#   wine.sh start <state dir> win32|win64 <wine> <wineserver> <Xvfb> <file>=<path under drive_c>...
#       ctest's fixture set-up: checks that this machine runs programs of the loader's width,
#       starts the display and the server, makes the prefix (32- or 64-bit) when there is none yet,
#       and installs each file at its path in the prefix.
#   wine.sh run <state dir> <program> [arguments]
#       how ctest runs a Windows program: under Wine, in that prefix and on that display.
#   wine.sh wow64 <state dir> <32-bit wine>
#       for a 64-bit prefix: checks that this machine runs the 32-bit loader, which Wine starts for
#       a 32-bit program that a 64-bit one starts.
#   wine.sh run-wow64 <state dir> <program> [arguments]
#       `run`, for a program that starts 32-bit ones.
#   wine.sh stop <state dir>
#       ctest's fixture clean-up: ends the server (and every Wine process with it) and the display.
#
# Where the machine cannot run the loader (a kernel without IA-32 emulation refuses 32-bit
# programs), `start` writes why to <state dir>/not_run, and `start` and every `run` print that
# line, which begins with "Not run: " and which ctest takes for a skipped test; `wow64` and
# `run-wow64` do the same with <state dir>/not_run_wow64.
#
# Wine starts helper processes of its own (the desktop, services) that outlive the program that
# caused them; none of them may hold ctest's output pipes, or ctest would wait for them. So every
# Wine process writes to a file, which `run` prints once the program has ended.
set -euo pipefail

command=$1
state=$2
shift 2
environment=$state/environment
not_run=$state/not_run
not_run_wow64=$state/not_run_wow64

# Runs the loader once. Where the kernel refuses an ELF of its width (exec format error, status
# 126), writes why to the file given and prints it; nothing else is a reason to skip.
probe_loader() {
  local wine=$1 what=$2 reason_file=$3 status=0 probe
  rm -f "$reason_file"
  probe=$("$wine" --version 2>&1) || status=$?
  if ((status != 0)); then
    if ((status == 126)) && [[ $probe == *"Exec format error"* ]]; then
      echo "Not run: this machine cannot run $what: the kernel refuses $wine" \
        "(${probe##*: }); a 32-bit x86 program needs a kernel with IA-32 emulation" |
        tee "$reason_file"
      return 0
    fi
    echo "$wine --version failed with status $status: $probe" >&2
    return 1
  fi
}

# Prints why a program that printed nothing failed: its status, or the signal that ended it.
explain_status() {
  local status=$1 program=$2
  if ((status > 128)); then
    local signal=$((status - 128))
    echo "wine.sh: $program ended by signal $signal ($(kill -l "$signal" 2>/dev/null || echo unknown))"
  else
    echo "wine.sh: $program ended with status $status"
  fi
}

case $command in
  start)
    arch=$1 wine=$2 wineserver=$3 xvfb=$4
    shift 4
    mkdir -p "$state"
    "$0" stop "$state" 2>/dev/null || true
    rm -f "$not_run_wow64"

    # A first program of the loader's width.
    probe_loader "$wine" "$arch programs" "$not_run"
    if [[ -f $not_run ]]; then
      exit 0
    fi

    # Xvfb picks a free display itself and writes its number to the descriptor it is given.
    rm -f "$state/display"
    setsid "$xvfb" -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
      3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
      [[ -s $state/display ]] && break
      sleep 0.1
    done
    if [[ ! -s $state/display ]]; then
      echo "Xvfb did not start:" >&2
      cat "$state/xvfb.log" >&2
      exit 1
    fi

    cat >"$environment" <<EOF
export WINEPREFIX='$state/prefix'
export WINEARCH='$arch'
export WINEDEBUG=-all
export DISPLAY=':$(tr -d '\n' <"$state/display")'
wine='$wine'
wineserver='$wineserver'
EOF
    # shellcheck source=/dev/null
    source "$environment"

    mkdir -p "$WINEPREFIX"
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
      # No Mono or Gecko: their installers would wait for a click. wineboot returns while the
      # prefix is still being made (the 32-bit half of a 64-bit prefix, the services started and
      # started again); programs started meanwhile race with it. So the prefix is made under a
      # server of its own, which ends only once every process of the prefix has.
      status=0
      WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init \
        </dev/null >"$state/wineboot.log" 2>&1 || status=$?
      "$wineserver" -w
      if ((status != 0)); then
        echo "Making the prefix failed with status $status:" >&2
        cat "$state/wineboot.log" >&2
        exit 1
      fi
    fi
    # One server for every program of the run, from a prefix at rest.
    "$wineserver" -p </dev/null >"$state/wineserver.log" 2>&1
    for install in "$@"; do
      target=$WINEPREFIX/drive_c/${install#*=}
      mkdir -p "$(dirname "$target")"
      cp "${install%%=*}" "$target"
    done
    echo "Wine ready on display $DISPLAY with the $arch prefix $WINEPREFIX"
    ;;
  wow64)
    mkdir -p "$state"
    probe_loader "$1" "32-bit programs under WoW64" "$not_run_wow64"
    ;;
  run-wow64)
    if [[ -f $not_run_wow64 ]]; then
      cat "$not_run_wow64"
      exit 0
    fi
    exec "$0" run "$state" "$@"
    ;;
  run)
    if [[ -f $not_run ]]; then
      cat "$not_run"
      exit 0
    fi
    # shellcheck source=/dev/null
    source "$environment"
    output=$(mktemp "$state/run.XXXXXX")
    # A program that crashes ends with Wine's message and its status, rather than waiting in Wine's
    # debugger for a click on a display nobody sees.
    export WINEDLLOVERRIDES="winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
    status=0
    "$wine" "$@" </dev/null >"$output" 2>&1 || status=$?
    cat "$output"
    if ((status != 0)) && [[ ! -s $output ]]; then
      explain_status "$status" "$1"
    fi
    rm -f "$output"
    exit "$status"
    ;;
  stop)
    if [[ -f $environment ]]; then
      # shellcheck source=/dev/null
      source "$environment"
      "$wineserver" -k 2>/dev/null || true
    fi
    # The display this script started, and nothing else that may have its number by now.
    if [[ -f $state/xvfb.pid ]]; then
      pid=$(cat "$state/xvfb.pid")
      if [[ $(cat "/proc/$pid/comm" 2>/dev/null) == Xvfb ]]; then
        kill "$pid"
      fi
      rm -f "$state/xvfb.pid"
    fi
    ;;
  *)
    echo "usage: wine.sh start|wow64|run|run-wow64|stop <state dir> ..." >&2
    exit 2
    ;;
esac
