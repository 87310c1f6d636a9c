#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh"
cd "$top/build"
ctest --output-on-failure -j"$(nproc)"
