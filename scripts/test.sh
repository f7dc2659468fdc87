#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite:
# the fuzz targets for a few seconds each (clang build), then every unit,
# end-to-end and GUI smoke test with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

JOBS=$(nproc 2>/dev/null || echo 2)

# Fuzz targets: a clang build of every fuzz_* target (the format readers, the
# module's own files, the project file) and what they load.
if command -v clang++ >/dev/null 2>&1; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DDELVAR_FUZZ=ON -DDELVAR_GUI=OFF \
    -DDELVAR_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  FUZZERS=$(ninja -C build-fuzz -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): .*/\1/p' | sort -u)
  if [ -n "$FUZZERS" ]; then
    # shellcheck disable=SC2086
    cmake --build build-fuzz -j "$JOBS" --target $FUZZERS
    ctest --test-dir build-fuzz -R '^fuzz_' --output-on-failure
  fi
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$JOBS"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$JOBS"
