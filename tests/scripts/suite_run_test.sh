#!/usr/bin/env bash
# The main program as its user runs it, in a process of its own on an X display: it
# starts with its menu and favourites, a program is chosen from the menu by keyboard and
# another from the favourites toolbar, their module windows open, and the close button
# ends the program with exit status 0.
# Usage: suite_run_test.sh <program folder of the build>
set -uo pipefail
bin=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
for tool in xvfb-run xdotool sqlite3 iconv; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup installs it)"; exit 1; }
done

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
# shellcheck source=../../scripts/xdrive.sh
source "$root/scripts/xdrive.sh"
xdrive_logged_in_folder "$bin" "$root" "$folder"
printf '[UserFavuriteMenu]\r\n1001=J202P,SA30E,\r\n' >"$folder/Favourite.mnu"
mkdir -p "$folder/shots"

# The toolbar's strip lies at y 20 of the window when folded; its buttons at y 38.
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  source "$1/scripts/xdrive.sh"
  folder=$2
  cd "$folder"
  TOVEL_SESSION=suite-run-$$ TOVEL_SCREENSHOT="$folder/shots" TOVEL_MODULE_TRACE="$folder/modules.log" \
    ./TovelMain run 1001 >"$folder/main.log" 2>&1 &
  pid=$!
  fail() { echo "FAIL: $*"; cat "$folder/main.log"; xdrive_end "$pid"; exit 1; }
  xdrive_wait_file "$folder/shots/TovelMain.png" 20 || fail "the main window was not shown"
  win=$(xdrive_window "Tovel 영업정산" 10) || fail "no main window found"
  xdrive_choose_program "$win"
  xdrive_wait_file "$folder/modules.log" 10 || fail "no module opened from the menu"
  grep -q "ShowInFrame prog=J280E" "$folder/modules.log" || fail "the menu choice opened $(cat "$folder/modules.log")"
  # The toolbar folded to a strip with the choice; the pointer on the strip unfolds it. A slow
  # (sanitized, loaded) run may not have unfolded it by the click, so the click is tried again.
  for _ in 1 2 3; do
    xdotool mousemove --window "$win" 300 "$3"
    sleep 0.5
    xdrive_click "$win" 52 "$4"
    for _ in $(seq 1 25); do grep -q "prog=J202P" "$folder/modules.log" && break 2; sleep 0.2; done
  done
  grep -q "prog=J202P" "$folder/modules.log" || fail "the favourite button opened nothing: $(cat "$folder/modules.log")"
  xdotool mousemove --window "$win" 300 "$3"
  sleep 0.3
  xdotool mousemove --window "$win" 300 "$4"
  sleep 0.5
  kill -USR1 "$pid"
  xdrive_wait_file "$folder/shots/TovelMain-1.png" 10 || fail "no picture on request"
  xdrive_click "$win" 20 "$4"
  xdrive_wait_exit "$pid" 20 || fail "the close button did not end the program"
  wait "$pid"
  status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
  echo "TovelMain ended with status 0"
' drive "$root" "$folder" 20 38
status=$?
mkdir -p "$bin/../screenshots" && cp "$folder"/shots/*.png "$bin/../screenshots/" 2>/dev/null
exit $status
