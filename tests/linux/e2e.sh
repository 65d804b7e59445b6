#!/usr/bin/env bash
# Black-box runs of the Linux program on a real X server with the real
# Firebird engine: what a user sees on the screen, what the program leaves in
# the database file, and how it ends.
#   e2e.sh <program> <case>
# DISPLAY must name a running X server with a 1366x768 screen at 96 dpi.
set -uo pipefail

PROGRAM=$1
CASE=$2
CAPTION='Kestrum.dat Patch'
WORK=$(mktemp -d)
PID=

cleanup() {
  [[ -n $PID ]] && kill "$PID" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL ($CASE): $*" >&2; exit 1; }

MAKE_DB=$(dirname "$0")/../firebird/make_db.sh
make_db() { "$MAKE_DB" "$1" >/dev/null || fail "cannot create $1"; }
is_read_only() { fbstat -h "$1" | grep -q 'read only'; }

# Starts the program in the background, in directory $1, with the remaining arguments.
start() {
  local dir=$1; shift
  (cd "$dir" && exec "$PROGRAM" "$@") >"$WORK/stdout" 2>"$WORK/stderr" &
  PID=$!
}

# Prints the id of the program's window once it is visible.
window_id() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$CAPTION\$" 2>/dev/null | head -1)
    [[ -n $id ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits up to $1 seconds for the program to end; sets RC to its exit code.
# (Not in a command substitution: only this shell can wait for its child.)
wait_exit() {
  RC=timeout
  for _ in $(seq $(($1 * 10))); do
    if ! kill -0 "$PID" 2>/dev/null; then
      wait "$PID"; RC=$?; PID=; return 0
    fi
    sleep 0.1
  done
}

still_running() { kill -0 "$PID" 2>/dev/null; }

# The colour on the screen at a point of the window's client area, as "r,g,b".
client_pixel() {
  local x y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  x=$((X + 12)) y=$((Y + 110))
  import -window root -crop "1x1+$x+$y" +repage -depth 8 txt:- | tail -1 | sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+)\).*/\1,\2,\3/'
}

press_enter() { xdotool windowfocus --sync "$1" key Return; }

GREEN=0,128,0
RED=255,0,0

# For a target that is no existing file: the window $1 keeps its colour, stays
# open without a success, and Enter on OK ends the program with 0.
expect_no_outcome() {
  local wid=$1 what=$2
  pixel=$(client_pixel "$wid")
  [[ $pixel != "$GREEN" && $pixel != "$RED" ]] || fail "colour $pixel for $what"
  sleep 0.5
  still_running || fail "closed itself for $what"
  press_enter "$wid"
  wait_exit 10
  [[ $RC == 0 ]] || fail "Enter on OK ended with $RC for $what"
}

# Runs the program on file $1 and expects a failure: a red window that stays
# open until OK is pressed, and the file byte for byte as it was.
expect_failure_on() {
  local target=$1
  cp "$target" "$WORK/before"
  start "$WORK" "$target"
  wid=$(window_id) || fail "no window"
  pixel=$(client_pixel "$wid")
  [[ $pixel == "$RED" ]] || fail "colour $pixel after a failure"
  sleep 1
  still_running || fail "closed itself after a failure"
  press_enter "$wid"
  wait_exit 10
  [[ $RC == 0 ]] || fail "exit $RC"
  cmp -s "$target" "$WORK/before" || fail "file changed"
}

case $CASE in
  window-placement-and-enter)
    # A target that does not exist leaves the window open and untouched.
    start "$WORK" "$WORK/nothing-here.fdb"
    wid=$(window_id) || fail "no window"
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    [[ "$X,$Y,$WIDTH,$HEIGHT" == "405,157,556,137" ]] || fail "window at $X,$Y size ${WIDTH}x$HEIGHT"
    xprop -id "$wid" _NET_WM_ICON | grep -q 'Icon (' || fail "no icon in the title bar"
    expect_no_outcome "$wid" "a missing file"
    ;;

  success-one-argument)
    make_db "$WORK/base.fdb"
    start "$WORK" "$WORK/base.fdb"
    wait_exit 20
    [[ $RC == 0 ]] || fail "exit $RC; stderr: $(cat "$WORK/stderr")"
    is_read_only "$WORK/base.fdb" || fail "database is not read-only afterwards"
    ;;

  success-default-name)
    make_db "$WORK/Kestrum.DAT"
    start "$WORK"
    wid=$(window_id) || fail "no window"
    pixel=$(client_pixel "$wid")
    [[ $pixel == "$GREEN" ]] || fail "colour $pixel after a success"
    sleep 2
    still_running || fail "closed before the 5 s close timer"
    wait_exit 20
    [[ $RC == 0 ]] || fail "exit $RC"
    is_read_only "$WORK/Kestrum.DAT" || fail "database is not read-only afterwards"
    ;;

  not-a-database)
    head -c 8192 /dev/urandom >"$WORK/junk.fdb"
    expect_failure_on "$WORK/junk.fdb"
    ;;

  not-an-existing-file)
    # A directory, and a database dated before 1980: neither counts as an
    # existing file, so the server is never asked and the database stays writable.
    mkdir "$WORK/folder.fdb"
    make_db "$WORK/old.fdb"
    touch -d '1979-06-01 12:00' "$WORK/old.fdb"
    for target in "$WORK/folder.fdb" "$WORK/old.fdb"; do
      start "$WORK" "$target"
      wid=$(window_id) || fail "no window for $target"
      expect_no_outcome "$wid" "$target"
    done
    ! is_read_only "$WORK/old.fdb" || fail "the server was asked about a file dated 1979"
    ;;

  wildcard-in-last-component)
    # The search finds w1.fdb, but the server is asked for the path as written,
    # which names no database: a failure, and w1.fdb stays as it was.
    make_db "$WORK/w1.fdb"
    cp "$WORK/w1.fdb" "$WORK/w1.before"
    start "$WORK" "$WORK/w?.fdb"
    wid=$(window_id) || fail "no window"
    pixel=$(client_pixel "$wid")
    [[ $pixel == "$RED" ]] || fail "colour $pixel"
    press_enter "$wid"
    wait_exit 10
    [[ $RC == 0 ]] || fail "exit $RC"
    cmp -s "$WORK/w1.fdb" "$WORK/w1.before" || fail "w1.fdb changed"
    ;;

  server-success)
    # FIREBIRD leads "service_mgr" to the tests' private server.
    make_db "$WORK/served.fdb"
    start "$WORK" "$WORK/served.fdb"
    wait_exit 20
    [[ $RC == 0 ]] || fail "exit $RC"
    is_read_only "$WORK/served.fdb" || fail "database is not read-only afterwards"
    ;;

  server-refuses)
    # Either the server's SYSDBA has another password, or another connection
    # holds the database open: red, open until OK, the file untouched.
    make_db "$WORK/target.fdb"
    if [[ ${KP_HOLD_OPEN_PORT:-} ]]; then
      exec 4> >(env -u FIREBIRD isql-fb -q >"$WORK/held.out" 2>&1)
      echo "connect '127.0.0.1/$KP_HOLD_OPEN_PORT:$WORK/target.fdb' user sysdba password 'quillbark';" >&4
      echo "select 'connection' || ' held' from rdb\$database;" >&4
      for _ in $(seq 100); do grep -q 'connection held' "$WORK/held.out" && break; sleep 0.1; done
      grep -q 'connection held' "$WORK/held.out" || fail "could not hold the database open: $(cat "$WORK/held.out")"
    fi
    expect_failure_on "$WORK/target.fdb"
    ! is_read_only "$WORK/target.fdb" || fail "database became read-only"
    if [[ ${KP_HOLD_OPEN_PORT:-} ]]; then echo "quit;" >&4; exec 4>&-; fi
    ;;

  window-manager-frame)
    # With a window manager the frame counts: frame and window together are
    # 556 x 137, and the frame's corner is where the window is placed.
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    sleep 1
    start "$WORK" "$WORK/nothing-here.fdb"
    wid=$(window_id) || { kill $wm; fail "no window"; }
    sleep 0.5
    read -r l r t b < <(xprop -id "$wid" _NET_FRAME_EXTENTS | sed -E 's/.*= //; s/,//g')
    x=$(xwininfo -id "$wid" | sed -n 's/.*Absolute upper-left X: *//p')
    y=$(xwininfo -id "$wid" | sed -n 's/.*Absolute upper-left Y: *//p')
    w=$(xwininfo -id "$wid" | sed -n 's/.*Width: *//p')
    h=$(xwininfo -id "$wid" | sed -n 's/.*Height: *//p')
    press_enter "$wid"
    wait_exit 10
    kill $wm
    [[ -n $t && $t -gt 0 ]] || fail "the window manager reported no frame"
    outer="$((x - l)),$((y - t)),$((w + l + r)),$((h + t + b))"
    [[ $outer == "405,157,556,137" ]] || fail "outer rectangle $outer"
    [[ $RC == 0 ]] || fail "exit $RC"
    ;;

  no-display)
    (cd "$WORK" && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$PROGRAM" "$WORK/x.fdb") \
      >"$WORK/stdout" 2>"$WORK/stderr"
    RC=$?
    [[ $RC == 1 ]] || fail "exit $RC without a display"
    [[ $(wc -l <"$WORK/stderr") == 1 ]] || fail "stderr is not one line: $(cat "$WORK/stderr")"
    ;;

  *)
    fail "unknown case"
    ;;
esac
echo "PASS ($CASE)"
