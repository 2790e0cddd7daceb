#!/usr/bin/env bash
# The main program when its session ends under it, with a module window open: a SIGTERM
# (a logout, a kill) closes it as 종료 does — the module is unloaded and the exit status
# is 0 — and an X server that goes away ends it without a crash. Started while its
# database server is down, it says so, opens with its designed menu only, leaves gp.ini
# as it was, and still ends with status 0 when closed.
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

# start_main <case> [connection string]: starts an X server and the main program on it,
# on a logged-in folder (its database the demo's, or the given one); sets folder, xpid
# and pid.
start_main() {
  local display
  folder="$work/$1"
  mkdir -p "$folder/shots"
  xdrive_logged_in_folder "$bin" "$root" "$folder"
  if [ $# -gt 1 ]; then
    sed -i "s|^CONNSTRING=.*|CONNSTRING=$(printf '%s' "$2" | base64 -w0)\r|" "$folder/gp.ini"
  fi
  cp "$folder/gp.ini" "$folder/gp.ini.before"
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 1280x800x24 -nolisten tcp >"$folder/xvfb.log" 2>&1 &
  xpid=$!
  read -r -t 10 display <&"$fd" || { echo "FAIL: Xvfb did not start"; cat "$folder/xvfb.log"; exit 1; }
  exec {fd}<&-
  export DISPLAY=":$display"
  (cd "$folder" && TOVEL_SESSION="session-end-$1-$$" TOVEL_SCREENSHOT="$folder/shots" \
    TOVEL_MODULE_TRACE="$folder/modules.log" QT_QPA_PLATFORM=xcb exec ./TovelMain run 1001 >"$folder/main.log" 2>&1) &
  pid=$!
}

# run_with_module <case>: the main program with a program opened from the menu, once its
# module shows its window.
run_with_module() {
  start_main "$1"
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
xdrive_end "$xpid"

# The database server is down (nothing listens on its port).
start_main down "Provider=PostgreSQL;Data Source=127.0.0.1:1/tovel;User ID=tovel;Password=tovel"
box=$(xdrive_window "FAX전송" 30) || { echo "FAIL: no word that the database cannot be reached"; cat "$folder/main.log"; exit 1; }
# The box is gone before the key is released: that half of the key finds no window.
xdotool key --window "$box" Return 2>/dev/null
xdrive_wait_file "$folder/shots/TovelMain.png" 30 || { echo "FAIL: down: no main window"; cat "$folder/main.log"; exit 1; }
kill -TERM "$pid"
xdrive_wait_exit "$pid" 20 || { echo "FAIL: down: SIGTERM did not end the program"; exit 1; }
wait "$pid"
status=$?
[ "$status" -eq 0 ] || { echo "FAIL: down: the exit status is $status"; cat "$folder/main.log"; exit 1; }
cmp -s "$folder/gp.ini" "$folder/gp.ini.before" || { echo "FAIL: down: gp.ini changed"; exit 1; }
echo "server down: told, status 0, gp.ini as it was"
