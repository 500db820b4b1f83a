#!/usr/bin/env bash
# The Debian package, tried as a user gets it: builds it from a build of the
# system layout (programs only), checks it with lintian and appstreamcli,
# installs it with apt-get, runs /usr/bin/korv-cli and /usr/bin/korv as the
# user nobody, whose log must land in nobody's own state folder, and removes
# the package again.
# scripts/packages/test-deb.sh [BUILD_DIR]   (default build-deb)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/packages/common.sh
build=${1:-build-deb}
app_id=io.korvane.Korvane

work=$(mktemp -d)
home=""
xvfb_pid=""
korv_pid=""
installed=""
cleanup() {
    [ -n "$korv_pid" ] && kill "$korv_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    # A failed run leaves no package behind on the machine.
    if [ -n "$installed" ]; then
        "${as_root[@]}" apt-get remove -y -qq korvane >/dev/null 2>&1
    fi
    [ -n "$home" ] && "${as_root[@]}" rm -rf "$home"
    rm -rf "$work"
}
trap cleanup EXIT

# --- The package.
cmake -S . -B "$build" -G Ninja -DKORV_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORV_INSTALL_LAYOUT=system -DCMAKE_INSTALL_PREFIX=/usr \
    -DKORV_BUILD_TESTS=OFF -DKORV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/korvane_*.deb
show_on_failure=("$work/cpack.log")
(cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1 || fail "cpack -G DEB"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
deb=$build/korvane_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made no $deb"
pass "cpack -G DEB made $deb"

dpkg-deb -c "$deb" | awk '{ print $6 }' >"$work/contents"
show_on_failure=("$work/contents")
for path in usr/bin/korv usr/bin/korv-cli \
    usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml \
    usr/share/icons/hicolor/{32x32,64x64,128x128}/apps/korvane.png \
    usr/share/man/man1/{korv,korv-cli}.1.gz \
    usr/share/doc/korvane/{versions.txt,dv.html,license.txt,copyright,changelog.gz}; do
    grep -qxF "./$path" "$work/contents" || fail "the package lacks /$path"
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6widgets6; do
    [[ $depends == *"$library "* ]] || fail "no dependency on $library in: $depends"
done
pass "the package holds the programs, desktop files, manual page and documents"

show_on_failure=()
lintian --fail-on error --display-level ">=info" "$deb" || fail "lintian found errors"
pass "lintian: no errors"

dpkg-deb -x "$deb" "$work/tree"
appstreamcli validate --no-net "$work/tree/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"
pass "appstreamcli validate"

# --- Installed, as a user would.
export DEBIAN_FRONTEND=noninteractive
show_on_failure=("$work/apt.log")
installed=yes
"${as_root[@]}" apt-get install -y "$(realpath "$deb")" >"$work/apt.log" 2>&1 ||
    fail "apt-get install $deb"
{ [ -x /usr/bin/korv ] && [ -x /usr/bin/korv-cli ]; } || fail "no /usr/bin/korv or /usr/bin/korv-cli"
pass "apt-get install"

# nobody, with a home of its own and the per-user folders at their defaults.
home=$(mktemp -d)
"${as_root[@]}" chown nobody: "$home"
as_nobody() {
    "${as_root[@]}" runuser -u nobody -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 \
        "$@" </dev/null
}
# shellcheck disable=SC2016 # expanded by nobody's shell
as_nobody sh -c 'printf "one old line\n" >"$HOME/sample.txt"'
sample=$home/sample.txt
cli_out=$work/korv-cli.out
show_on_failure=("$cli_out")

# korv-cli on nobody's file, with the log where --log says.
as_nobody /usr/bin/korv-cli --yes --find old --replace new --log "$home/given.log" "$sample" \
    >"$cli_out" 2>&1 || fail "korv-cli --log failed for nobody"
[ "$(cat "$sample")" = "one new line" ] || fail "korv-cli did not replace: $(cat "$sample")"
grep -qF "old found in $sample and replaced to new" "$home/given.log" ||
    fail "korv-cli's log is not where --log said"
pass "/usr/bin/korv-cli replaces in nobody's file"

# The log's place by default: nobody's state folder, never beside the program.
state_log=$home/.local/state/korvane/korv.log
as_nobody /usr/bin/korv-cli --yes --find new --replace newer "$sample" >"$cli_out" 2>&1 ||
    fail "korv-cli failed for nobody without --log"
[ "$(cat "$sample")" = "one newer line" ] || fail "korv-cli did not replace: $(cat "$sample")"
grep -qF "new found in $sample and replaced to newer" "$state_log" 2>/dev/null ||
    fail "korv-cli's log is not in nobody's state folder ($state_log)"
as_nobody XDG_STATE_HOME="$home/state" /usr/bin/korv-cli --yes --find newer --replace newest \
    "$sample" >"$cli_out" 2>&1 || fail "korv-cli failed for nobody with XDG_STATE_HOME"
grep -qF "newer found in $sample and replaced to newest" "$home/state/korvane/korv.log" \
    2>/dev/null || fail "korv-cli's log is not in \$XDG_STATE_HOME/korvane"
[ ! -e /usr/bin/korv.log ] || fail "a log beside /usr/bin/korv-cli"
pass "korv-cli logs in nobody's state folder"

# korv on a virtual display: its start-up line lands in the same log.
rm -f "$state_log"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
show_on_failure=("$work/xvfb.log")
wait_until 60 "Xvfb gave no display number" test -s "$work/display"
show_on_failure=("$work/korv.out")
as_nobody DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb /usr/bin/korv \
    >"$work/korv.out" 2>&1 &
korv_pid=$!
korv_started() {
    kill -0 "$korv_pid" 2>/dev/null || fail "korv ended on its own"
    grep -qF " - Application Started" "$state_log" 2>/dev/null
}
wait_until 60 "korv's start-up line is not in nobody's state folder ($state_log)" korv_started
kill "$korv_pid"
wait "$korv_pid" 2>/dev/null || true
korv_pid=""
pass "/usr/bin/korv started for nobody and logged in nobody's state folder"

# --- Removed.
show_on_failure=("$work/apt.log")
"${as_root[@]}" apt-get remove -y korvane >"$work/apt.log" 2>&1 || fail "apt-get remove korvane"
installed=""
for path in /usr/bin/korv /usr/bin/korv-cli /usr/share/doc/korvane "/usr/share/applications/$app_id.desktop"; do
    [ ! -e "$path" ] || fail "$path is left after apt-get remove"
done
pass "apt-get remove"
