#!/usr/bin/env bash
# Measures the demo's frames in a real 1280 x 720 window: builds the client in
# Release (build/release, as run-demo.sh; run scripts/setup.sh first on a fresh
# machine), runs it under its own virtual display on a copy of examples/demo
# without the gateway file (no patch host needed: the scripts start at once on
# the project as it is), its scene kept up for a while, and prints the client's frame times (count, mean, 95th
# percentile, maximum: the director's loop with its swap, without the wait for the
# next frame) and its peak resident memory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${VEXO_BUILD_DIR:-$root/build/release}"   # another Release build folder may be named
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "${VEXO_JOBS:-$(nproc)}" --target vexo-client vexo_certs

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root/examples/demo" "$work/demo"
rm -f "$work/demo/fenk/gateway"
# The demo ends when its skeleton's wave completes, a few frames in: the copy
# keeps its scene up for VEXO_MEASURE_SECONDS (default 10) instead.
seconds="${VEXO_MEASURE_SECONDS:-10}"
sed -i 's/director:endToLua()//' "$work/demo/src/main.lua"
cat >>"$work/demo/src/main.lua" <<LUA
director:getScheduler():scheduleScriptFunc(function() director:endToLua() end, $seconds, false)
LUA
mkdir -p "$work/data"
VEXO_FRAME_TIMES=1 xvfb-run -a -s "-screen 0 1920x1080x24" /usr/bin/time -v -o "$work/time.txt" \
  "$build/bin/vexo-client" -workdir "$work/demo" -writable-path "$work/data" 2>"$work/stderr.txt" || {
  cat "$work/stderr.txt" >&2
  exit 1
}
grep -a -e "frame size:" -e "frame times:" "$work/stderr.txt"
grep "Maximum resident set size" "$work/time.txt"
