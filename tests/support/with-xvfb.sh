#!/usr/bin/env bash
# Runs a command on its own virtual X server (a free display chosen by Xvfb itself,
# so parallel tests never collide). Optional helpers, enabled by environment:
#   WITH_WM=1 starts openbox, WITH_COMPOSITOR=1 starts xcompmgr, WITH_TRAY=1 starts trayer.
#
# The command runs in a network namespace of its own (in-own-netns.sh), where the player's
# single-instance socket lives. The X server stays in the machine's namespace: there Xvfb's
# choice of a free display sees every other server, and the command reaches it through its
# socket file. (A server started inside each namespace would find the same display free
# everywhere and take over the socket file of another run's server.)
set -u

if [ -n "${QINGLAN_TEST_INSIDE:-}" ]; then
  unset QINGLAN_TEST_INSIDE
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  helpers=()
  if [ "${WITH_WM:-0}" = 1 ]; then openbox >/dev/null 2>&1 & helpers+=($!); sleep 0.5; fi
  if [ "${WITH_COMPOSITOR:-0}" = 1 ]; then xcompmgr >/dev/null 2>&1 & helpers+=($!); fi
  if [ "${WITH_TRAY:-0}" = 1 ]; then trayer --edge top --align right --widthtype pixel --width 100 >/dev/null 2>&1 & helpers+=($!); sleep 0.3; fi
  "$@"
  rc=$?
  for p in "${helpers[@]}"; do kill "$p" 2>/dev/null; done
  exit $rc
fi

# A server that reported its display but takes no client (seen when another test's server was
# going away at the same moment) is replaced by a fresh one, so a test never starts on a display
# nobody can reach.
start_xvfb() {
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$fifo" 2>/dev/null &
  xvfb=$!
  num=; read -r num < "$fifo"; rm -f "$fifo"
  [ -n "${num:-}" ] || return 1
  for _ in $(seq 50); do
    xdpyinfo -display ":$num" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}
for attempt in 1 2 3; do
  start_xvfb && break
  kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; num=
done
if [ -z "${num:-}" ]; then echo "with-xvfb: no Xvfb display could be reached" >&2; exit 1; fi
export DISPLAY=":$num"
export QINGLAN_TEST_INSIDE=1

"$(dirname "$0")/in-own-netns.sh" "$0" "$@"
rc=$?
kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null
exit $rc
