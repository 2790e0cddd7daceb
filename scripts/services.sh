# Sourced by scripts/test: starts and stops the servers the tests use, all on loopback,
# all in a throw-away folder of the build tree. Each exports what the tests read.

services_dir=""

services_start() {
  services_dir=$1
  rm -rf "$services_dir"
  mkdir -p "$services_dir"
}

services_stop() {
  [ -n "$services_dir" ] || return 0
  services_dir=""
}
