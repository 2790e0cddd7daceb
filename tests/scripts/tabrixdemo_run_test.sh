#!/usr/bin/env bash
# The grid demonstration as its user runs it, in a process of its own on an X display, over
# a million rows: keys and the wheel move through it, a row is added, dropped and deleted,
# a cell is typed into and its row posted, its event log tells what happened, and Ctrl+Q
# ends it with exit status 0 and the count of rows per state.
# Usage: tabrixdemo_run_test.sh <program folder of the build>
set -uo pipefail
bin=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup installs it)"; exit 1; }
done
log=$(mktemp)
trap 'rm -f "$log"' EXIT

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  source "$1/scripts/xdrive.sh"
  bin=$2 log=$3
  "$bin/TabrixDemo" --log >"$log" 2>&1 &
  pid=$!
  fail() { echo "FAIL: $*"; cat "$log"; xdrive_end "$pid"; exit 1; }
  # lines <pattern>: how many lines of the log match.
  lines() { grep -c -E "$1" "$log"; }
  # wait_for <pattern> <count> [seconds]: waits until the log holds that many matching lines.
  wait_for() {
    for _ in $(seq 1 $((${3:-15} * 10))); do [ "$(lines "$1")" -ge "$2" ] && return 0; sleep 0.1; done
    fail "expected $2 lines of \"$1\""
  }
  # Generating the million rows takes about a second, several in the sanitized build.
  xdrive_wait_file "$log" 30 || fail "the demo did not start"
  wait_for "^Ready rows=1000000 " 1 60
  win=$(xdrive_window "TabrixDemo" 10) || fail "no demo window found"
  xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
  sleep 0.5
  # Five quick Downs: the first two go down the levels of the current group, the other
  # three move three rows, with one row-change notification at the end.
  xdotool key --delay 20 Down Down Down Down Down
  wait_for "^RowChange row=3 " 1
  [ "$(lines "^CellEnter cell=1,2,0 ")" -eq 1 ] || fail "Down did not go to the group'"'"'s last level first"
  [ "$(lines "^RowEnter")" -eq 3 ] || fail "the Downs entered $(lines "^RowEnter") rows"
  [ "$(lines "^RowChange")" -eq 1 ] || fail "quick Downs raised $(lines "^RowChange") row changes"
  # Ctrl+Page Down goes to the last of the million rows.
  xdotool key ctrl+Next
  wait_for "^RowChange row=999999 " 1
  # Right and Enter (which moves on like Tab in this grid) each enter the next cell.
  entered=$(lines "^CellEnter ")
  xdotool key Right
  wait_for "^CellEnter " $((entered + 1))
  xdotool key Return
  wait_for "^CellEnter " $((entered + 2))
  xdotool key ctrl+Prior
  wait_for "^RowChange row=0 " 1
  # Two wheel turns towards the user scroll the view two rows down; the current row stays,
  # so the next row move scrolls the new row back into view as the top row.
  xdotool mousemove --window "$win" 400 300
  xdotool click --repeat 2 --delay 50 5
  sleep 0.3
  # (Down goes through the levels of the current group first.)
  xdotool key --delay 300 Down Down Down
  wait_for "^RowChange row=1 " 1
  grep -q "^RowChange row=1 top=1$" "$log" || fail "the wheel did not scroll the view: $(grep "^RowChange row=1 " "$log")"
  # Insert opens a new row at the current one, Escape drops it; Ctrl+Delete asks, and y
  # (Yes) deletes the current row.
  xdotool key Insert
  wait_for "^AfterInsert append=0 row=1$" 1
  xdotool key Escape
  wait_for "^AfterCancel row=1$" 1
  # The y goes to whichever window has the focus, so it waits for the box to be shown and
  # gives it the focus first (a sanitized build can take seconds to show it).
  xdotool key ctrl+Delete
  box=$(xdrive_window "^삭제$" 20) || fail "Ctrl+Delete showed no question"
  xdotool windowfocus --sync "$box" 2>/dev/null
  sleep 0.2
  xdotool key y
  wait_for "^AfterDelete row=1 rows=999999$" 1
  wait_for "^DataChanged" 1
  # Without a window manager the focus does not come back from the closed box by itself.
  xdotool windowfocus --sync "$win" 2>/dev/null
  sleep 0.2
  # Typing into the first cell of the row opens its editor with the first key and edits the
  # row; Down through the group'"'"'s levels and on to the next row posts it.
  xdotool key Home
  sleep 0.2
  xdotool type --delay 50 "Tovel"
  wait_for "^AfterEdit row=1$" 1
  xdotool key --delay 100 Down Down Down
  wait_for "^AfterPost row=1$" 1
  xdotool key ctrl+q
  xdrive_wait_exit "$pid" 20 || fail "Ctrl+Q did not end the demo"
  wait "$pid"
  status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
  grep -q "^Closed" "$log" || fail "no Closed line"
  grep -q "^inserted=0 rows=$" "$log" || fail "no count of inserted rows"
  grep -q "^deleted=0 rows=$" "$log" || fail "no count of deleted rows"
  grep -q "^updated=1 rows=2$" "$log" || fail "the typed row is not the one updated row: $(grep "^updated=" "$log")"
  echo "TabrixDemo ended with status 0 after $(wc -l <"$log") events"
' drive "$root" "$bin" "$log"
