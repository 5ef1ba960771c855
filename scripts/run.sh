#!/usr/bin/env bash
# Sets everything up, builds Kelmar and starts the window (needs a desktop session).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"
if [ -x build/bin/kelmar ]; then
  exec build/bin/kelmar "$@"
fi
# Without the window: this month's sun table for Moscow.
exec build/bin/kelmar-cli sun --lat 55.75 --lon 37.62 --gmt 3
