#!/usr/bin/env bash
# Times one whole run of the program on a fresh database (start, switch to
# read-only, green window, close at the 100 ms tick) against fbsvcmgr making
# the same switch, side by side, and prints
#   ratio = program / (fbsvcmgr + 100 ms)
# Both use the embedded engine; every run gets a fresh copy of the database.
#   scripts/benchmark.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${1:-20}

scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target kestrum-patch >/dev/null
program=$root/build/linux/src/program/kestrum-patch

work=$(mktemp -d)
export DISPLAY=:94
Xvfb "$DISPLAY" -screen 0 1366x768x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

unset FIREBIRD
tests/firebird/make_db.sh "$work/template.fdb"
prepare="cp $work/template.fdb $work/bench.fdb"
hyperfine --warmup 2 --runs "$runs" --export-csv "$work/times.csv" \
  --prepare "$prepare" -n kestrum-patch "$program $work/bench.fdb" \
  --prepare "$prepare" -n fbsvcmgr \
  "fbsvcmgr service_mgr -user sysdba -password quillbark -action_properties -dbname $work/bench.fdb -prp_access_mode prp_am_readonly"

# Each run must have switched the database: check the last one of the program.
cp "$work/template.fdb" "$work/bench.fdb"
"$program" "$work/bench.fdb"
fbstat -h "$work/bench.fdb" | grep -q 'read only' || { echo "the program did not switch the database" >&2; exit 1; }

awk -F, 'NR > 1 { mean[$1] = $2 }
  END { printf "ratio = %.3f / (%.3f + 0.100) = %.2f\n", mean["kestrum-patch"], mean["fbsvcmgr"],
               mean["kestrum-patch"] / (mean["fbsvcmgr"] + 0.100) }' "$work/times.csv"
