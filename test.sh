#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs every test under a virtual display.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNA_BUILD_TESTS=ON -DVORNA_BUILD_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)"
scripts/with-display.sh ctest --test-dir build --output-on-failure --no-tests=error --timeout 600 "$@"
