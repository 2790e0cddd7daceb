# Helpers to drive the suite's windows on an X display (Xvfb) with xdotool, for the
# demo and the user-run tests. Every wait has a time limit; processes are ended only
# by the ids the caller gives.

# xdrive_wait_file <path> <seconds>: waits until the file exists and is not empty.
xdrive_wait_file() {
  local path=$1 limit=$2 i
  for ((i = 0; i < limit * 5; i++)); do
    [ -s "$path" ] && return 0
    sleep 0.2
  done
  return 1
}

# xdrive_window <name> <seconds>: prints the id of the first window whose title
# contains <name>.
xdrive_window() {
  local name=$1 limit=$2 id i
  for ((i = 0; i < limit * 5; i++)); do
    id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# xdrive_wait_exit <pid> <seconds>: waits until the process has ended.
xdrive_wait_exit() {
  local pid=$1 limit=$2 i
  for ((i = 0; i < limit * 5; i++)); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.2
  done
  return 1
}

# xdrive_end <pid>...: ends the given processes that still run (TERM, then KILL).
xdrive_end() {
  local pid
  for pid in "$@"; do
    [ -n "$pid" ] || continue
    kill -0 "$pid" 2>/dev/null || continue
    kill "$pid" 2>/dev/null
    xdrive_wait_exit "$pid" 3 || kill -9 "$pid" 2>/dev/null
  done
  return 0
}

# xdrive_choose_program <window>: opens the daily-work menu (Alt+2) and takes its second
# entry, the way a keyboard user chooses a program.
xdrive_choose_program() {
  local win=$1
  timeout 5 xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win" 2>/dev/null
  xdotool key --window "$win" alt+2
  sleep 0.5
  xdotool key --window "$win" Down
  sleep 0.2
  xdotool key --window "$win" Return
}

# xdrive_click <window> <x> <y>: clicks at a point of the window's client area.
xdrive_click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# xdrive_logged_in_folder <program folder of the build> <source root> <folder>: fills
# <folder> with a copy of the programs, the demo database and the gp.ini of a user who
# has logged in (1001), as the login program leaves it for the main program.
xdrive_logged_in_folder() {
  local bin=$1 root=$2 folder=$3 connstring
  cp -a "$bin/." "$folder/"
  cat "$root/src/caller/sql/schema.sql" "$root/src/caller/sql/seed.sql" | sqlite3 "$folder/demo.db"
  connstring=$(printf '%s' "Provider=SQLite;Data Source=demo.db" | base64 -w0)
  printf '[기본정보]\r\nuser_id=1001\r\nuser_nm=홍길동\r\nuser_sect=01\r\nuser_place=10\r\nuser_sect_nm=영업1부\r\nuser_place_nm=서울지점\r\n[DBCONNECTION]\r\nCONNSTRING=%s\r\n' \
    "$connstring" | iconv -f UTF-8 -t CP949 >"$folder/gp.ini"
}
