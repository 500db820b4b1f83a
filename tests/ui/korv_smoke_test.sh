#!/bin/sh
# Starts the window program on a virtual X server, takes a screenshot and
# checks that its window was drawn and its log opened beside it.
# Exits 77 (skipped) where no virtual X server or screenshot tool exists.
set -u

korv="$1"

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed"
    exit 77
fi
if ! command -v import >/dev/null 2>&1 || ! command -v convert >/dev/null 2>&1; then
    echo "SKIP: ImageMagick (import, convert) is not installed"
    exit 77
fi

work=$(mktemp -d)
xvfb_pid=""
korv_pid=""
cleanup() {
    [ -n "$korv_pid" ] && kill "$korv_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $1"
    for log in "$work/xvfb.log" "$work/korv.out"; do
        [ -s "$log" ] && { echo "--- $log"; cat "$log"; }
    done
    exit 1
}

# A copy of its own, so the log and settings land in the scratch folder.
cp "$korv" "$work/korv"

# The server picks a free display and tells its number on descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
# Each wait below ends on its condition; the deadline only stops a hang
# well before ctest's own timeout, however busy the machine is.
deadline=$(($(date +%s) + 45))
past_deadline() { [ "$(date +%s)" -gt "$deadline" ]; }

while [ ! -s "$work/display" ]; do
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
    past_deadline && fail "Xvfb gave no display number"
    sleep 0.1
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
# The number may come before the server takes a connection; a window
# program started sooner fails at once, so wait until a client gets in.
until import -window root "$work/shot.png" 2>/dev/null; do
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended after giving display $DISPLAY"
    past_deadline && fail "Xvfb took no connection on display $DISPLAY"
    sleep 0.1
done

QT_QPA_PLATFORM=xcb "$work/korv" >"$work/korv.out" 2>&1 &
korv_pid=$!

while :; do
    kill -0 "$korv_pid" 2>/dev/null || fail "korv ended on its own"
    if import -window root "$work/shot.png" 2>/dev/null; then
        colours=$(convert "$work/shot.png" -format %k info: 2>/dev/null || echo 0)
        # A bare server shows one colour; the window brings many.
        if [ "${colours:-0}" -gt 8 ]; then
            break
        fi
    fi
    past_deadline && fail "no window was drawn (colours: ${colours:-none})"
    sleep 0.1
done

grep -q " - Application Started" "$work/korv.log" || fail "the log beside korv has no start-up line"
echo "PASS: korv drew its window ($colours colours on screen)"
exit 0
