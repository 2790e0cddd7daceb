#!/usr/bin/env bash
# Runs a command as a desktop with a screen reader would: in a D-Bus session of its own
# with the AT-SPI accessibility bus up, and with Qt's accessibility bridge switched on, so
# the program's accessibility events are delivered (an update handler sees them).
# Usage: with_accessibility_bus.sh <command> [arguments]
set -uo pipefail
if [ -z "${TOVEL_ACCESSIBILITY_SESSION:-}" ]; then
  command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is missing (scripts/setup installs it)"; exit 1; }
  TOVEL_ACCESSIBILITY_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "FAIL: $launcher is missing (scripts/setup installs at-spi2-core)"; exit 1; }
"$launcher" &
bus=$!
trap 'kill "$bus" 2>/dev/null' EXIT
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true && break
  sleep 0.1
done
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
