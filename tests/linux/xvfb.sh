#!/usr/bin/env bash
# Starts or stops a private X server for the window tests.
#   xvfb.sh start <display-number> <width>x<height> <state-dir>
#   xvfb.sh stop <state-dir>
set -euo pipefail

case "$1" in
  start)
    display=$2 size=$3 state=$4
    mkdir -p "$state"
    Xvfb ":$display" -screen 0 "${size}x24" -dpi 96 -nolisten tcp -noreset >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
      if DISPLAY=":$display" xdpyinfo >/dev/null 2>&1; then exit 0; fi
      sleep 0.1
    done
    echo "xvfb.sh: X server :$display did not come up" >&2
    cat "$state/xvfb.log" >&2
    exit 1
    ;;
  stop)
    state=$2
    if [[ -f "$state/xvfb.pid" ]]; then
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
      rm -f "$state/xvfb.pid"
    fi
    ;;
  *)
    echo "usage: xvfb.sh start <display> <WxH> <state-dir> | stop <state-dir>" >&2
    exit 2
    ;;
esac
