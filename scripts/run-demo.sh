#!/usr/bin/env bash
# Builds the client in Release and runs it on examples/demo, writing into
# build/release/demo-data. Extra arguments go to the client (a later
# -writable-path wins). VEXO_DEMO_SECONDS=N stops it with SIGTERM after N seconds
# (default 5; 0: never).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target vexo-client vexo_certs

client="$build/bin/vexo-client"
seconds="${VEXO_DEMO_SECONDS:-5}"
# What the client writes (settings, caches) stays in the build folder, not in the
# example's sources.
data="$build/demo-data"
mkdir -p "$data"
"$client" -workdir "$root/examples/demo" -writable-path "$data" "$@" &
pid=$!
trap 'kill -TERM $pid 2>/dev/null || true' INT TERM
if [ "$seconds" != 0 ]; then
  ( sleep "$seconds"; kill -TERM $pid 2>/dev/null || true ) &
fi
set +e
wait $pid
status=$?
echo "vexo-client exited with status $status"
exit $status
