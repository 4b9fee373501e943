#!/usr/bin/env bash
# Builds vexo_bench in Release without sanitizers and runs it. An optional argument
# filters the benchmarks (Google Benchmark's --benchmark_filter).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXO_BUILD_TESTS=OFF \
      -DVEXO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target vexo_bench vexo_certs
args=()
if [ $# -gt 0 ]; then args+=("--benchmark_filter=$1"); fi
cd "$build/bin"
./vexo_bench "${args[@]}"
