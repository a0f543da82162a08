#!/bin/sh
# Runs a program as a screen reader's desktop would host it: on an X server of its own
# (Xvfb), on a private session bus, with the accessibility bus (at-spi-bus-launcher) up and
# Qt's accessibility bridge switched on. Everything started here is stopped afterwards.
#   WithAccessibilityBus.sh PROGRAM [ARGS...]
set -eu
work=$(mktemp -d)
Xvfb -displayfd 3 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  dbus-run-session -- sh -c '
    /usr/libexec/at-spi-bus-launcher >/dev/null 2>&1 &
    launcher=$!
    "$@"
    status=$?
    kill $launcher 2>/dev/null
    exit $status' sh "$@"
