#!/usr/bin/env bash
# Installs what is missing, builds, and starts the workbench on the bundled
# demo: a real window where there is a display, the headless demo job where
# there is none. The demo project lives in ./demo (made on first run).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/delvar ]; then
  exec build/bin/delvar --demo demo
else
  echo "No display: running the headless demo job."
  exec build/bin/delvar-cli --demo demo
fi
