#!/usr/bin/env bash
# Runs a Windows program that opens windows under Wine, on a virtual X
# server of its own that is stopped afterwards:
# wine-x-run.sh WINE64 PREFIX PROGRAM.exe [ARGS...]
# Needs no display of its own (CI runs as root without one).
set -uo pipefail
wine=$1
prefix=$2
shift 2

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    # Wine's desktop process keeps the display open until the server ends.
    WINEPREFIX=$prefix "${wine%/*}/wineserver" -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display and writes its number to descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
# The wait ends on the number; the deadline only stops a hang.
deadline=$(($(date +%s) + 60))
while [ ! -s "$work/display" ]; do
    if ! kill -0 "$xvfb_pid" 2>/dev/null || [ "$(date +%s)" -gt "$deadline" ]; then
        echo "Xvfb did not start:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
export DISPLAY=":$(head -n 1 "$work/display")"

export WINEPREFIX=$prefix
export WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # Without .NET and HTML engines, so it never offers to fetch them.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot.exe --init >/dev/null 2>&1 </dev/null
    "${wine%/*}/wineserver" -w 2>/dev/null
fi
if [ ! -f "$WINEPREFIX/.unmanaged-windows" ]; then
    # With no window manager on the virtual display, Wine would wait two
    # seconds for one to let go of every window it hides or destroys.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null &&
        touch "$WINEPREFIX/.unmanaged-windows"
fi
"$wine" "$@"
