# Sourced by scripts/test: starts and stops the servers the tests use, all on loopback,
# all in a throw-away folder. Each service exports what the tests read.

services_dir=""
pg_ctl_bin=""

free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Runs a command as the given system user when we are root (servers refuse to run as root).
as_user() {
  local user=$1
  shift
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u "$user" -- "$@"
  else
    "$@"
  fi
}

pg_start() {
  local bin dir port
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -x "$bin/initdb" ] || { echo "services: PostgreSQL is not installed" >&2; return 1; }
  dir="$services_dir/pg"
  mkdir -p "$dir/sock"
  [ "$(id -u)" -eq 0 ] && chown -R postgres:postgres "$dir"
  port=$(free_port)
  as_user postgres "$bin/initdb" -D "$dir/data" -U postgres -E UTF8 --locale=C.UTF-8 \
    --auth-local=trust --auth-host=scram-sha-256 >"$dir/initdb.log" 2>&1 \
    || { cat "$dir/initdb.log" >&2; return 1; }
  as_user postgres "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-p $port -k $dir/sock -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null \
    || { cat "$dir/server.log" >&2; return 1; }
  pg_ctl_bin="$bin/pg_ctl"
  as_user postgres "$bin/psql" -q -h "$dir/sock" -p "$port" -U postgres -d postgres \
    -c "CREATE ROLE tovel LOGIN PASSWORD 'tovel'" \
    -c "CREATE DATABASE tovel OWNER tovel ENCODING 'UTF8' TEMPLATE template0" >/dev/null || return 1
  # The tests that stop and start the server under a running connection call this
  # script with "stop" or "start"; it runs pg_ctl as the server's user with the options above.
  local ctl="$dir/ctl" run=""
  [ "$(id -u)" -eq 0 ] && run="runuser -u postgres --"
  cat >"$ctl" <<CTL
#!/bin/sh
case "\$1" in
  stop) exec $run "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 60 stop ;;
  start) exec $run "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 -o "-p $port -k $dir/sock -c listen_addresses=127.0.0.1 -c fsync=off" start ;;
  *) echo "usage: \$0 stop|start" >&2; exit 2 ;;
esac
CTL
  chmod 755 "$ctl"
  export TOVEL_PG_HOST=127.0.0.1 TOVEL_PG_PORT=$port TOVEL_PG_USER=tovel TOVEL_PG_PASSWORD=tovel TOVEL_PG_DB=tovel
  export TOVEL_PG_CTL=$ctl
  echo "services: PostgreSQL on 127.0.0.1:$port"
}

pg_stop() {
  [ -n "$pg_ctl_bin" ] || return 0
  as_user postgres "$pg_ctl_bin" -D "$services_dir/pg/data" -m fast -w stop >/dev/null 2>&1 || true
  pg_ctl_bin=""
}

sshd_pid_file=""
sftp_user=""

# Waits up to $1 seconds for the command that follows to fail; false if it never does.
wait_until_not() {
  local tenths=$(($1 * 10))
  shift
  while "$@" >/dev/null 2>&1; do
    [ "$tenths" -gt 0 ] || return 1
    tenths=$((tenths - 1))
    sleep 0.1
  done
}

# Processes of the SFTP sessions of user $1 (default: this run's): those of the user,
# and the privileged half sshd keeps for each, named after the user ("sshd-session:" on
# newer OpenSSH).
sftp_session_pids() {
  local user=${1:-$sftp_user}
  { pgrep -u "$user"; pgrep -f "^sshd(-session)?: $user([ @]|\$)"; } 2>/dev/null
}

# The start time of a process in clock ticks since boot, empty when it does not exist;
# with the pid it names one process for good, as a pid alone is reused.
process_start_time() {
  sed -E 's/^.*\) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f20
}

# Whether the shell that made the services folder $1 still runs. The folder names its
# shell by pid and start time; a folder that has no owner yet is one just being made.
services_owner_alive() {
  local pid start
  if [ ! -f "$1/owner" ]; then
    [ -n "$(find "$1" -maxdepth 0 -mmin -1 2>/dev/null)" ]
    return
  fi
  read -r pid start <"$1/owner" || return 1
  [ -n "$pid" ] && [ "$(process_start_time "$pid")" = "$start" ] \
    && tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q 'sh'
}

# A run killed before its stop step leaves its servers running, its folder and its user.
# Removes those of runs whose shell is gone: their sshd (found by its config under the
# folder), FTP server and PostgreSQL, the folder, the user and its sessions; and the account
# `tovelsftp` that older versions of this script made with a password and a login shell.
services_remove_stale() {
  local dir pid user home
  for dir in /tmp/tovel-services.*; do
    [ -d "$dir" ] || continue
    services_owner_alive "$dir" && continue
    for pid in $(pgrep -f -- "sshd -f $dir/sshd/sshd_config( |\$)"); do
      kill -KILL "$pid" 2>/dev/null
    done
    for pid in $(pgrep -f -- "ftpserver.py --root $dir/ftp/served( |\$)"); do
      kill -KILL "$pid" 2>/dev/null
    done
    if [ -f "$dir/pg/data/postmaster.pid" ]; then
      pid=$(head -n 1 "$dir/pg/data/postmaster.pid")
      [ -n "$pid" ] && kill -QUIT "$pid" 2>/dev/null
      wait_until_not 5 kill -0 "$pid"
    fi
    rm -rf "$dir"
  done
  [ "$(id -u)" -eq 0 ] || return 0
  for user in $(getent passwd | cut -d: -f1 | grep -E '^tovelsftp(-[0-9]+)?$'); do
    home=$(getent passwd "$user" | cut -d: -f6)
    if [ "$user" != tovelsftp ]; then
      [ -d "${home%/sshd/served}" ] && services_owner_alive "${home%/sshd/served}" && continue
    fi
    sftp_session_pids "$user" | xargs -r kill -KILL 2>/dev/null
    wait_until_not 2 pgrep -u "$user"
    userdel "$user" >/dev/null 2>&1 || echo "services: could not remove the stale user $user" >&2
  done
}

# An OpenSSH server on loopback with password authentication and the internal-sftp
# subsystem, for a test user whose home is the served folder. The user has no login
# shell and exists only while the server runs. Needs root (it creates the user and
# checks passwords); elsewhere the SFTP server tests are skipped.
sftp_start() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "services: not root, no SSH server (its tests are skipped)"
    return 0
  fi
  local dir="$services_dir/sshd" port password
  mkdir -p "$dir/served"
  ssh-keygen -q -t ed25519 -N '' -f "$dir/host_ed25519" || return 1
  ssh-keygen -q -t ed25519 -N '' -f "$dir/other_ed25519" || return 1
  sftp_user="tovelsftp-$$"
  if id "$sftp_user" >/dev/null 2>&1; then
    usermod -d "$dir/served" -s /usr/sbin/nologin "$sftp_user" || return 1
  else
    useradd -r -M -d "$dir/served" -s /usr/sbin/nologin "$sftp_user" || { sftp_user=""; return 1; }
  fi
  password=$(head -c 32 /dev/urandom | base64 | tr -dc 'A-Za-z0-9' | head -c 16)
  echo "$sftp_user:$password" | chpasswd || return 1
  chown "$sftp_user" "$dir/served"
  port=$(free_port)
  cat >"$dir/sshd_config" <<CONFIG
Port $port
ListenAddress 127.0.0.1
HostKey $dir/host_ed25519
PidFile $dir/sshd.pid
PasswordAuthentication yes
KbdInteractiveAuthentication no
PubkeyAuthentication no
UsePAM no
PermitRootLogin no
StrictModes no
AllowUsers $sftp_user
MaxStartups 100
Subsystem sftp internal-sftp
ForceCommand internal-sftp
LogLevel ERROR
CONFIG
  mkdir -p /run/sshd
  /usr/sbin/sshd -f "$dir/sshd_config" -E "$dir/sshd.log" || { cat "$dir/sshd.log" >&2; return 1; }
  sshd_pid_file="$dir/sshd.pid"
  # sshd forks before it binds, so a port it cannot take still exits 0: only the pid
  # file and an open port show that it serves.
  if ! wait_until_not 10 sftp_not_serving "$port"; then
    echo "services: the OpenSSH server did not start on 127.0.0.1:$port" >&2
    cat "$dir/sshd.log" >&2
    return 1
  fi
  export TOVEL_SFTP_HOST=127.0.0.1 TOVEL_SFTP_PORT=$port TOVEL_SFTP_USER=$sftp_user TOVEL_SFTP_PASSWORD=$password
  export TOVEL_SFTP_ROOT="$dir/served" TOVEL_SFTP_OTHER_KEY="$dir/other_ed25519.pub"
  echo "services: OpenSSH server on 127.0.0.1:$port"
}

# Stops the server and waits for it and its sessions to end, then removes the user.
sftp_stop() {
  [ -n "$sftp_user" ] || return 0
  local pid=""
  [ -f "$sshd_pid_file" ] && pid=$(cat "$sshd_pid_file")
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null
    wait_until_not 10 kill -0 "$pid" || kill -KILL "$pid" 2>/dev/null
    wait_until_not 2 kill -0 "$pid"
  fi
  # A session ends when its client has gone; one still running after that is stuck.
  if ! wait_until_not 10 sftp_session_pids_any; then
    sftp_session_pids | xargs -r kill 2>/dev/null
    wait_until_not 5 sftp_session_pids_any || sftp_session_pids | xargs -r kill -KILL 2>/dev/null
    wait_until_not 2 sftp_session_pids_any
  fi
  userdel "$sftp_user" >/dev/null 2>&1 || echo "services: could not remove the user $sftp_user" >&2
  sftp_user=""
  sshd_pid_file=""
}

sftp_not_serving() {
  local pid
  pid=$(cat "$sshd_pid_file" 2>/dev/null)
  [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null || ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

sftp_session_pids_any() {
  [ -n "$(sftp_session_pids)" ]
}

ftp_pid=""

# The updater's test FTP server (pyftpdlib, with our listing styles and faults) on
# loopback, serving a folder the tests fill. It runs under the system Python, where
# Debian's python3-pyftpdlib lives.
ftp_start() {
  local dir="$services_dir/ftp" script password
  script="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/updater/ftpserver.py"
  mkdir -p "$dir/served"
  password=$(head -c 32 /dev/urandom | base64 | tr -dc 'A-Za-z0-9' | head -c 16)
  # The password travels in the environment, never on a command line others can read.
  TOVEL_FTP_PASSWORD=$password /usr/bin/python3 "$script" --root "$dir/served" --port-file "$dir/port" \
    >"$dir/server.log" 2>&1 &
  ftp_pid=$!
  if ! wait_until_not 10 ftp_not_serving; then
    echo "services: the FTP server did not start" >&2
    cat "$dir/server.log" >&2
    ftp_stop
    return 1
  fi
  export TOVEL_FTP_HOST=127.0.0.1 TOVEL_FTP_PORT=$(cat "$dir/port") TOVEL_FTP_PASSWORD=$password
  export TOVEL_FTP_ROOT="$dir/served"
  echo "services: FTP server on 127.0.0.1:$TOVEL_FTP_PORT"
}

ftp_not_serving() {
  kill -0 "$ftp_pid" 2>/dev/null && [ -s "$services_dir/ftp/port" ] \
    && (exec 3<>"/dev/tcp/127.0.0.1/$(cat "$services_dir/ftp/port")") 2>/dev/null && return 1
  return 0
}

ftp_stop() {
  [ -n "$ftp_pid" ] || return 0
  kill "$ftp_pid" 2>/dev/null
  wait_until_not 5 kill -0 "$ftp_pid" || kill -KILL "$ftp_pid" 2>/dev/null
  wait "$ftp_pid" 2>/dev/null
  ftp_pid=""
}

services_start() {
  services_remove_stale
  services_dir=$(mktemp -d /tmp/tovel-services.XXXXXX)
  echo "$$ $(process_start_time $$)" >"$services_dir/owner"
  chmod 755 "$services_dir"
  pg_start || return 1
  sftp_start || return 1
  ftp_start || return 1
}

services_stop() {
  [ -n "$services_dir" ] || return 0
  ftp_stop
  sftp_stop
  pg_stop
  rm -rf "$services_dir"
  services_dir=""
}
