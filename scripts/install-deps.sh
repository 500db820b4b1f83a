#!/usr/bin/env bash
# Installs the Debian packages Korvane needs to build, test and run, when
# any is missing. Safe to run again: it does nothing when all are there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    xvfb xauth x11-apps imagemagick fonts-dejavu-core fonts-liberation
    clang libclang-rt-14-dev
    patch
    # The Windows programs: cross compilers (64 and 32 bits), GoogleTest's
    # sources to build for them, and Wine to run the 64-bit tests.
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools googletest wine64
    # The packages: CPack's Debian package (dpkg-shlibdeps, file) and its
    # checks, and the Windows setup program.
    dpkg-dev file lintian appstream nsis
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
