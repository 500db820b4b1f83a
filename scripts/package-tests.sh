#!/usr/bin/env bash
# The packages, built and tried as a user gets them; test.sh runs this after
# its builds and tests. Needs root (or sudo) for apt-get and runuser.
#   deb: the Debian package, built here in build-deb (scripts/packages/test-deb.sh)
#   win: the Windows zip and setup program of build-win, which must be built
#        already (scripts/packages/test-windows.sh)
# scripts/package-tests.sh [deb] [win]   (both when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
steps=("$@")
[ ${#steps[@]} -gt 0 ] || steps=(deb win)
for step in "${steps[@]}"; do
    case $step in
        deb) scripts/packages/test-deb.sh build-deb ;;
        win) scripts/packages/test-windows.sh build-win ;;
        *)
            echo "usage: $0 [deb] [win]" >&2
            exit 2
            ;;
    esac
done
