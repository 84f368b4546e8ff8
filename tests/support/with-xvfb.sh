#!/usr/bin/env bash
# Runs a command on its own virtual X server (a free display chosen by Xvfb itself,
# so parallel tests never collide). Optional helpers, enabled by environment:
#   WITH_WM=1 starts openbox, WITH_COMPOSITOR=1 starts xcompmgr, WITH_TRAY=1 starts trayer.
set -u
fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$fifo" 2>/dev/null &
xvfb=$!
read -r num < "$fifo"; rm -f "$fifo"
if [ -z "${num:-}" ]; then echo "with-xvfb: Xvfb did not start" >&2; kill $xvfb 2>/dev/null; exit 1; fi
export DISPLAY=":$num"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
helpers=()
if [ "${WITH_WM:-0}" = 1 ]; then openbox >/dev/null 2>&1 & helpers+=($!); sleep 0.5; fi
if [ "${WITH_COMPOSITOR:-0}" = 1 ]; then xcompmgr >/dev/null 2>&1 & helpers+=($!); fi
if [ "${WITH_TRAY:-0}" = 1 ]; then trayer --edge top --align right --widthtype pixel --width 100 >/dev/null 2>&1 & helpers+=($!); sleep 0.3; fi
"$@"
rc=$?
for p in "${helpers[@]}"; do kill "$p" 2>/dev/null; done
kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null
exit $rc
