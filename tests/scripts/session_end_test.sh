#!/usr/bin/env bash
# The main program when its session ends under it, with a module window open: a SIGTERM
# (a logout, a kill) closes it as 종료 does — the module is unloaded and the exit status
# is 0 — and an X server that goes away ends it without a crash.
# Usage: session_end_test.sh <program folder of the build>
set -uo pipefail
bin=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
for tool in Xvfb xdotool sqlite3 iconv; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup installs it)"; exit 1; }
done
# shellcheck source=../../scripts/xdrive.sh
source "$root/scripts/xdrive.sh"
work=$(mktemp -d)
xpid=""
pid=""
trap 'xdrive_end "$pid" "$xpid"; rm -rf "$work"' EXIT

# run_with_module <case>: starts an X server and the main program on it, opens a program
# from the menu and waits until its module shows its window; sets xpid and pid.
run_with_module() {
  local folder="$work/$1" display
  mkdir -p "$folder/shots"
  xdrive_logged_in_folder "$bin" "$root" "$folder"
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 1280x800x24 -nolisten tcp >"$folder/xvfb.log" 2>&1 &
  xpid=$!
  read -r -t 10 display <&"$fd" || { echo "FAIL: Xvfb did not start"; cat "$folder/xvfb.log"; exit 1; }
  exec {fd}<&-
  export DISPLAY=":$display"
  (cd "$folder" && TOVEL_SESSION="session-end-$1-$$" TOVEL_SCREENSHOT="$folder/shots" \
    TOVEL_MODULE_TRACE="$folder/modules.log" QT_QPA_PLATFORM=xcb exec ./TovelMain run 1001 >"$folder/main.log" 2>&1) &
  pid=$!
  xdrive_wait_file "$folder/shots/TovelMain.png" 30 || { echo "FAIL: $1: no main window"; cat "$folder/main.log"; exit 1; }
  local win
  win=$(xdrive_window "Tovel 영업정산" 10) || { echo "FAIL: $1: no main window found"; exit 1; }
  xdrive_choose_program "$win"
  xdrive_wait_file "$folder/modules.log" 15 || { echo "FAIL: $1: no module opened"; cat "$folder/main.log"; exit 1; }
}

# A SIGTERM: 종료's way out.
run_with_module term
module=$(awk '/ShowInFrame/ {print $1; exit}' "$work/term/modules.log")
kill -TERM "$pid"
xdrive_wait_exit "$pid" 20 || { echo "FAIL: SIGTERM did not end the program"; exit 1; }
wait "$pid"
status=$?
[ "$status" -eq 0 ] || { echo "FAIL: after SIGTERM the exit status is $status"; cat "$work/term/main.log"; exit 1; }
grep -q "^$module unloaded" "$work/term/modules.log" ||
  { echo "FAIL: module $module was left loaded"; cat "$work/term/modules.log"; exit 1; }
xdrive_end "$xpid"
echo "SIGTERM: status 0, module $module unloaded"

# The X server goes away.
run_with_module xkill
kill -TERM "$xpid"
xdrive_wait_exit "$pid" 20 || { echo "FAIL: the program outlived its display"; exit 1; }
wait "$pid"
status=$?
[ "$status" -lt 128 ] || { echo "FAIL: without its display the program crashed (status $status)"; cat "$work/xkill/main.log"; exit 1; }
grep -q "X11 connection broke" "$work/xkill/main.log" || { echo "FAIL: the display did not go away"; exit 1; }
echo "display gone: status $status, no crash"
