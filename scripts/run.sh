#!/usr/bin/env bash
# Builds the Linux program and lets it do its job on the embedded Firebird
# engine: on the database you name, or on a fresh sample "Kestrum.DAT".
#   scripts/run.sh [database-file]
# Without a display it runs under a private Xvfb and saves a screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target kestrum-patch >/dev/null
program=$root/build/linux/src/program/kestrum-patch

access_mode() { fbstat -h "$1" | sed -n 's/^[[:space:]]*Attributes[[:space:]]*//p'; }

if (($# == 1)); then
  database=$(realpath "$1")
  workdir=$(dirname "$database")
  arguments=("$database")
else
  # Without an argument the program works on "Kestrum.DAT" in its working directory.
  workdir=$root/build/sample
  database=$workdir/Kestrum.DAT
  rm -rf "$workdir" && mkdir -p "$workdir"
  env -u FIREBIRD tests/firebird/make_db.sh "$database"
  arguments=()
fi

echo "database:          $database"
echo "attributes before: $(access_mode "$database")"

xvfb_pid=
if [[ -z ${DISPLAY:-} ]]; then
  export DISPLAY=:93
  Xvfb "$DISPLAY" -screen 0 1366x768x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

(cd "$workdir" && exec "$program" "${arguments[@]}") &
pid=$!
if [[ -n $xvfb_pid ]]; then
  shot=$root/build/kestrum-patch-window.png
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Kestrum.dat Patch$' >/dev/null 2>&1 && break
    sleep 0.05
  done
  if import -window root -crop 556x137+405+157 +repage "$shot" 2>/dev/null; then
    echo "screenshot:        $shot"
  fi
  # Nobody can press "OK" here: a window that stays open is closed after a while.
  for _ in $(seq 150); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill $pid 2>/dev/null && echo "window:            stayed open (no success); closed by this script"
fi
wait $pid || true
echo "attributes after:  $(access_mode "$database")"
