#!/usr/bin/env bash
# The Windows packages of the 64-bit Windows build (built before, as test.sh
# does): the portable zip (cpack -G ZIP) and the setup program (target
# korv_installer). Under Wine, in a prefix made anew for this test: korv-cli.exe
# from the unpacked zip logs beside itself; the setup installs silently into
# Program Files, where korv-cli.exe replaces and logs under %APPDATA%\Korvane;
# the silent uninstall leaves nothing in Program Files\Korvane, the Start
# menu or the list of programs.
# scripts/packages/test-windows.sh [BUILD_DIR]   (default build-win)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/packages/common.sh
build=${1:-build-win}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
documents=(versions.txt dv.html license.txt)

# --- The zip.
rm -f "$build"/korvane-*.zip
show_on_failure=("$work/cpack.log")
(cd "$build" && cpack -G ZIP) >"$work/cpack.log" 2>&1 || fail "cpack -G ZIP"
zip=$PWD/$build/korvane-$version-win64.zip
[ -f "$zip" ] || fail "cpack made no $zip"
cmake -E tar tf "$zip" >"$work/contents"
show_on_failure=("$work/contents")
for file in korv.exe korv-cli.exe "${documents[@]}"; do
    grep -qxF "korvane-$version-win64/$file" "$work/contents" || fail "the zip lacks $file"
done
pass "cpack -G ZIP made $zip with the programs and documents"

# --- The setup program.
show_on_failure=("$work/installer.log")
cmake --build "$build" --target korv_installer >"$work/installer.log" 2>&1 ||
    fail "building the setup program"
setup=$PWD/$build/korvane-$version-win64-setup.exe
[ -f "$setup" ] || fail "no $setup"
pass "makensis made $setup"

# --- Wine, as the build's tests run it, in a prefix of this test's own.
wine=$(command -v /usr/lib/wine/wine64 || command -v wine64) || fail "wine64 is not installed"
wineserver=${wine%/*}/wineserver
export WINEPREFIX=$PWD/$build/wine-prefix-packages
export WINEDEBUG=-all
# No .NET or HTML engine to offer, and no menu entries on the host for the
# Start-menu shortcut.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
rm -rf "$WINEPREFIX"
"$wine" wineboot.exe --init >/dev/null 2>&1 </dev/null || true
# Each step ends when every program of the prefix has (the uninstaller, for
# one, goes on in a copy of itself after the first process ends).
settle() {
    timeout 180 "$wineserver" -w || fail "Wine's programs did not end"
}
settle
run() {
    "$wine" "$@" </dev/null
}
drive_c=$WINEPREFIX/drive_c
appdata=$(run winepath.exe -u "$(run cmd.exe /c echo %APPDATA% | tr -d '\r')" | tr -d '\r')
[ -d "$appdata" ] || fail "no %APPDATA% folder in the prefix: '$appdata'"

# korv-cli.exe from the zip, unpacked into a folder: the portable use.
mkdir "$drive_c/unpacked"
(cd "$drive_c/unpacked" && cmake -E tar xf "$zip")
printf 'one old line\n' >"$drive_c/portable.txt"
show_on_failure=("$work/korv-cli.out")
run "C:\\unpacked\\korvane-$version-win64\\korv-cli.exe" --yes --find old --replace new \
    'C:\portable.txt' >"$work/korv-cli.out" 2>&1 || fail "korv-cli.exe from the zip failed"
[ "$(tr -d '\r' <"$drive_c/portable.txt")" = "one new line" ] ||
    fail "korv-cli.exe from the zip did not replace"
grep -qF 'old found in C:\portable.txt and replaced to new' \
    "$drive_c/unpacked/korvane-$version-win64/korv.log" 2>/dev/null ||
    fail "korv-cli.exe from the zip did not log beside itself"
pass "korv-cli.exe from the zip replaces and logs beside itself"

# Installed silently.
program_files=$drive_c/Program\ Files/Korvane
shortcut=$drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Korvane.lnk
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane'
run "$setup" /S || fail "the setup program failed"
settle
for file in bin/korv.exe bin/korv-cli.exe "${documents[@]/#/share/doc/korvane/}" Uninstall.exe; do
    [ -f "$program_files/$file" ] || fail "the setup did not install Program Files\\Korvane\\$file"
done
[ -f "$shortcut" ] || fail "the setup made no Start-menu shortcut"
run reg.exe query "$uninstall_key" /v UninstallString >/dev/null 2>&1 ||
    fail "the setup made no entry in the list of programs"
pass "the setup installs silently, with a shortcut and an entry in the list of programs"

# korv-cli.exe from Program Files: the installed use.
printf 'one old line\n' >"$drive_c/installed.txt"
run 'C:\Program Files\Korvane\bin\korv-cli.exe' --yes --find old --replace new \
    'C:\installed.txt' >"$work/korv-cli.out" 2>&1 || fail "korv-cli.exe from Program Files failed"
[ "$(tr -d '\r' <"$drive_c/installed.txt")" = "one new line" ] ||
    fail "korv-cli.exe from Program Files did not replace"
grep -qF 'old found in C:\installed.txt and replaced to new' "$appdata/Korvane/korv.log" \
    2>/dev/null || fail "korv-cli.exe from Program Files did not log in %APPDATA%\\Korvane"
pass "korv-cli.exe from Program Files replaces and logs in %APPDATA%\\Korvane"

# Uninstalled silently.
run 'C:\Program Files\Korvane\Uninstall.exe' /S || fail "the uninstaller failed"
settle
if [ -e "$program_files" ]; then
    find "$program_files" >"$work/left" 2>&1
    show_on_failure=("$work/left")
    fail "the uninstaller left files in Program Files\\Korvane"
fi
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu shortcut"
if run reg.exe query "$uninstall_key" >/dev/null 2>&1; then
    fail "the uninstaller left the entry in the list of programs"
fi
pass "the uninstaller removes it silently"
"$wineserver" -k 2>/dev/null || true
