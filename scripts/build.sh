#!/usr/bin/env bash
# Configures and builds the project into build/ (program folder: build/dist); with target
# names, builds only those.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/packages.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$top/build" -j"$(nproc)" "${targets[@]}"
