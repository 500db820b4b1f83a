#!/usr/bin/env bash
# Runs a Windows program under Wine, in a Wine prefix of its own, with no
# display and no debug chatter: wine-run.sh WINE64 PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
wine=$1
export WINEPREFIX=$2
shift 2
export WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # The first start makes the prefix; one at a time, and before the
    # program, so its own start-up is not mixed into the program's output.
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            # Without .NET and HTML engines, so it never offers to fetch them.
            WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot.exe --init \
                >/dev/null 2>&1 </dev/null || true
            "${wine%/*}/wineserver" -w 2>/dev/null || true
        fi
    ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
