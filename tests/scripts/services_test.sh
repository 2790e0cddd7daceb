#!/usr/bin/env bash
# Checks that scripts/services.sh leaves nothing behind: a run killed before its stop
# step (its SSH, FTP and database servers), the account older versions made, and an
# SSH server that cannot take its port.
# Needs root, as the SSH server does; elsewhere it is skipped (exit 77).
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "services_test: not root, skipped"; exit 77; }
# shellcheck source-path=SCRIPTDIR/../..
# shellcheck source=scripts/services.sh
source "$root/scripts/services.sh"
failures=0
fail() {
  echo "services_test: FAILED: $*" >&2
  failures=$((failures + 1))
}

# A run killed with SIGKILL: its servers, folder and user are swept by the next start.
note=$(mktemp)
bash -c "source '$root/scripts/services.sh'; services_start >/dev/null && echo \"\$services_dir \$sftp_user\" >'$note'; sleep 600" &
killed=$!
wait_until_not 60 test ! -s "$note" || fail "the run to kill did not start"
read -r dir user <"$note"
rm -f "$note"
kill -KILL "$killed"
wait "$killed" 2>/dev/null
[ -n "$(pgrep -f -- "sshd -f $dir/")" ] || fail "the killed run left no sshd to sweep"
[ -n "$(pgrep -f -- "ftpserver.py --root $dir/")" ] || fail "the killed run left no FTP server to sweep"
useradd -r -M -s /bin/bash tovelsftp 2>/dev/null && echo 'tovelsftp:legacy' | chpasswd
services_remove_stale
[ -z "$(pgrep -f -- "sshd -f $dir/")" ] || fail "the killed run's sshd still runs"
[ -z "$(pgrep -f -- "ftpserver.py --root $dir/")" ] || fail "the killed run's FTP server still runs"
[ -z "$(pgrep -f -- "-D $dir/pg/data")" ] || fail "the killed run's PostgreSQL still runs"
[ ! -e "$dir" ] || fail "the killed run's folder $dir is still there"
! id "$user" >/dev/null 2>&1 || fail "the killed run's user $user is still there"
! id tovelsftp >/dev/null 2>&1 || { fail "the old account tovelsftp is still there"; userdel tovelsftp; }

# An SSH server that cannot bind its port: the start fails instead of going on without it.
services_dir=$(mktemp -d /tmp/tovel-services.XXXXXX)
echo "$$ $(process_start_time $$)" >"$services_dir/owner"
python3 -c 'import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(); print(s.getsockname()[1], flush=True); time.sleep(60)' >"$services_dir/taken" &
listener=$!
wait_until_not 10 test ! -s "$services_dir/taken"
taken=$(cat "$services_dir/taken")
free_port() { echo "$taken"; }
if sftp_start >/dev/null 2>&1; then
  fail "sftp_start succeeded on a port already taken"
fi
kill "$listener"
sftp_stop
rm -rf "$services_dir"

[ "$failures" -eq 0 ] || exit 1
echo "services_test: passed"
