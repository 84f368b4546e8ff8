#!/usr/bin/env bash
# Runs a command inside a headless Wayland session with XWayland, as current GNOME and Plasma
# desktops set it up: WAYLAND_DISPLAY and DISPLAY both set, QT_QPA_PLATFORM unset. Like
# with-xvfb.sh, the compositor and its X server stay in the machine's network namespace, where
# their choice of a free X display sees every other run's server, and the command runs in a
# network namespace of its own (in-own-netns.sh) with its own runtime folder. Ends with 77 (a
# skip for ctest) when weston or its XWayland cannot be started on this machine, saying why.
set -u
if [ -n "${QINGLAN_TEST_INSIDE:-}" ]; then
  unset QINGLAN_TEST_INSIDE
  exec "$@"
fi
skip() { echo "with-weston: SKIP: $*" >&2; exit 77; }
command -v weston >/dev/null || skip "weston is not installed"
command -v Xwayland >/dev/null || skip "Xwayland is not installed"

runtime=$(mktemp -d); chmod 700 "$runtime"
log="$runtime/weston.log"
export XDG_RUNTIME_DIR="$runtime"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
weston --backend=headless-backend.so --xwayland --socket=wayland-qinglan --idle-time=0 \
  >"$log" 2>&1 &
weston=$!
cleanup() {
  kill "$weston" 2>/dev/null; wait "$weston" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT
# weston names the X display it listens on for XWayland (started at the first client).
display=
for _ in $(seq 100); do
  display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$log" | head -n1)
  [ -n "$display" ] && [ -S "$runtime/wayland-qinglan" ] && break
  kill -0 "$weston" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$display" ] || [ ! -S "$runtime/wayland-qinglan" ]; then
  skip "weston did not come up with XWayland: $(tail -n 3 "$log" | tr '\n' ' ')"
fi
export WAYLAND_DISPLAY=wayland-qinglan DISPLAY="$display"
# The first X client starts XWayland; a machine where it cannot run is a skip, not a failure.
xdpyinfo >/dev/null 2>&1 || skip "XWayland did not answer on $display"
export QINGLAN_TEST_INSIDE=1
"$(dirname "$0")/in-own-netns.sh" "$0" "$@"
