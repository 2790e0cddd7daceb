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
  export TOVEL_PG_HOST=127.0.0.1 TOVEL_PG_PORT=$port TOVEL_PG_USER=tovel TOVEL_PG_PASSWORD=tovel TOVEL_PG_DB=tovel
  echo "services: PostgreSQL on 127.0.0.1:$port"
}

pg_stop() {
  [ -n "$pg_ctl_bin" ] || return 0
  as_user postgres "$pg_ctl_bin" -D "$services_dir/pg/data" -m fast -w stop >/dev/null 2>&1 || true
  pg_ctl_bin=""
}

services_start() {
  services_dir=$(mktemp -d /tmp/tovel-services.XXXXXX)
  chmod 755 "$services_dir"
  pg_start || return 1
}

services_stop() {
  [ -n "$services_dir" ] || return 0
  pg_stop
  rm -rf "$services_dir"
  services_dir=""
}
