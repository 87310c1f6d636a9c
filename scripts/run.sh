#!/usr/bin/env bash
# Builds the logger and starts it in its program folder, creating an empty log on first run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" orvo orvo-tables-data
cd "$top/build/dist"
./orvo --create-log
exec ./orvo
