#!/usr/bin/env bash
# The Wine environment of one test run: one Xvfb, one persistent wineserver and one prefix in the
# build tree, shared by every Windows program that ctest runs.
#
#   wine.sh start <state dir> <wine64> <wineserver> <Xvfb> <file>=<path under drive_c>...
#       ctest's fixture set-up: starts the display and the server, makes the prefix when there is
#       none yet, and installs each file at its path in the prefix.
#   wine.sh run <state dir> <program> [arguments]
#       how ctest runs a Windows program: under Wine, in that prefix and on that display.
#   wine.sh stop <state dir>
#       ctest's fixture clean-up: ends the server (and every Wine process with it) and the display.
#
# Wine starts helper processes of its own (the desktop, services) that outlive the program that
# caused them; none of them may hold ctest's output pipes, or ctest would wait for them. So every
# Wine process writes to a file, which `run` prints once the program has ended.
set -euo pipefail

command=$1
state=$2
shift 2
environment=$state/environment

case $command in
  start)
    wine64=$1 wineserver=$2 xvfb=$3
    shift 3
    mkdir -p "$state"
    "$0" stop "$state" 2>/dev/null || true

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
export WINEDEBUG=-all
export DISPLAY=':$(tr -d '\n' <"$state/display")'
wine64='$wine64'
wineserver='$wineserver'
EOF
    # shellcheck source=/dev/null
    source "$environment"

    # The server first, so that the prefix's making and every program share it.
    mkdir -p "$WINEPREFIX"
    "$wineserver" -p </dev/null >"$state/wineserver.log" 2>&1
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
      # No Mono or Gecko: their installers would wait for a click.
      WINEDLLOVERRIDES="mscoree,mshtml=" "$wine64" wineboot --init \
        </dev/null >"$state/wineboot.log" 2>&1
    fi
    for install in "$@"; do
      target=$WINEPREFIX/drive_c/${install#*=}
      mkdir -p "$(dirname "$target")"
      cp "${install%%=*}" "$target"
    done
    echo "Wine ready on display $DISPLAY with the prefix $WINEPREFIX"
    ;;
  run)
    # shellcheck source=/dev/null
    source "$environment"
    output=$(mktemp "$state/run.XXXXXX")
    status=0
    "$wine64" "$@" </dev/null >"$output" 2>&1 || status=$?
    cat "$output"
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
    echo "usage: wine.sh start|run|stop <state dir> ..." >&2
    exit 2
    ;;
esac
