#!/usr/bin/env bash
# Installs what is missing, builds Korvane and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target korv korv-cli
exec build/bin/korv
