#!/usr/bin/env bash
# Configures and builds the whole project into build/ (program folder: build/dist).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/packages.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j"$(nproc)"
