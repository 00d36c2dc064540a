#!/usr/bin/env bash
# Sets up what is missing, builds and starts the client.
# Unless VORNA_DEMO=0, the client shows the local demo merchant page: the demo
# service is started and build/bin/deployment.ini points the client at it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target vorna-client vorna-demo-service vorna-lab vorna-receipt
if [ "${VORNA_DEMO:-1}" != "0" ]; then
  rm -f build/bin/deployment.ini
  build/bin/vorna-demo-service --port "${VORNA_DEMO_PORT:-8800}" \
    --deployment build/bin/deployment.ini &
  demo_pid=$!
  trap 'kill "$demo_pid" 2>/dev/null; wait "$demo_pid" 2>/dev/null' EXIT
  for _ in $(seq 1 50); do [ -s build/bin/deployment.ini ] && break; sleep 0.1; done
  kill -0 "$demo_pid" 2>/dev/null || { echo "the demo service did not start" >&2; exit 1; }
  build/bin/vorna-client "$@"
else
  exec build/bin/vorna-client "$@"
fi
