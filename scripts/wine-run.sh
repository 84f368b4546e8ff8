#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARG...]: runs a Windows program under Wine with the private Wine
# prefix PREFIX (created on first use), on a private X server of its own (Wine needs one as
# soon as a program creates a window, hidden and message-only ones included). Its exit code is
# the program's. The Wine server of the prefix is ended with the X server, because Wine's
# desktop process would otherwise stay bound to a display that is gone.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${QINGLAN_WINE_X:-}" ]; then
  export QINGLAN_WINE_X=1
  exec "$here/../tests/support/with-xvfb.sh" "$0" "$@"
fi
export WINEPREFIX=$1
shift
export WINEARCH=win64
# Debian ships neither Mono nor Gecko for Wine: without these overrides the first start asks
# for them. No Wine diagnostics in the test output.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wine wineboot --init >/dev/null 2>&1
  wineserver -w
fi
wine "$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit $rc
