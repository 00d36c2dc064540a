#!/usr/bin/env bash
# Sets up what is missing, builds and starts the client.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNA_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target vorna-client
exec build/bin/vorna-client "$@"
