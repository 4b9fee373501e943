#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/*.cpp) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs each for a while on a scratch copy of its
# seeds (fuzz/seeds/<target>/), so the repository is never written to.
#
#   scripts/fuzz.sh [seconds] [target...]     (default: 60 s, every target)
#
# Each file-format target also gets a few large seeds made at run time
# (fuzz/large_seeds.py). The targets that read files from updates (skeletons,
# atlases, images, model animations, tile map images, update manifests), the
# peers' replies (XMLHttpRequest replies, WebSocket exchanges), label layout and
# the file server's uploads run within a memory limit of 256 MB, the tile-map and
# properties readers within 384 MB (a map may hold 64 MB of ids), as do the
# 3D-model and navigation-mesh readers (their live heap stays well under it, but the sanitizer's
# allocator keeps growing its resident pages for a while), so that growth
# with the input shows as a finding; their sanitizer quarantine is kept small to
# fit in it.
# Scratch files go under $TMPDIR only.
#
# The tree is built at -O1 with line tables only (enough for symbolised stack
# traces): far cheaper to compile than an optimised build with full debug info.
#
# Prints executions and findings per target. A finding (crash, leak, timeout,
# out-of-memory) is left under build/fuzz/runs/<target>/findings/ and the script
# exits non-zero. A unit counts as slow only from the timeout on: a navigation
# mesh at its largest voxel grid builds for about 10 s under the sanitizers.
# VEXO_FUZZ_BUILD_DIR and VEXO_JOBS override the build folder and the number of
# targets run (and compile jobs) at once; VEXO_FUZZ_REUSE_BUILD=1
# takes that folder as configured already.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds="${1:-60}"
[ $# -gt 0 ] && shift
build="${VEXO_FUZZ_BUILD_DIR:-$root/build/fuzz}"
jobs="${VEXO_JOBS:-$(nproc)}"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in "$root"/fuzz/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi

# VEXO_FUZZ_REUSE_BUILD=1: the build folder is already configured with the fuzz
# targets (scripts/test.sh builds the tests and the targets in one tree).
if [ "${VEXO_FUZZ_REUSE_BUILD:-0}" != 1 ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= \
    -DCMAKE_C_FLAGS="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" \
    -DVEXO_SANITIZE=ON -DVEXO_BUILD_FUZZ=ON -DVEXO_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j "$jobs" --target "${targets[@]/#/vexo_fuzz_}"

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TMPDIR="${TMPDIR:-/tmp}"

# The memory limit of a target (MB), and its sanitizer options.
memory_limit() {
  case "$1" in
    skeleton_json|skeleton_atlas|image_decode|animation_json|shader_source|sound_decode|tile_map_image|update_manifest|\
    material_file|image_geometry|gl_table_buffers|xhr_reply|websocket_session|websocket_address|\
    label_layout|file_server_uploads)
      echo 256 ;;
    tmx_map|properties_text|obj_model|navmesh_files) echo 384 ;;
    *) echo 2048 ;;
  esac
}
asan_options() {
  local options="detect_leaks=1:abort_on_error=1"
  if [ "$(memory_limit "$1")" -lt 2048 ]; then options="$options:quarantine_size_mb=16"; fi
  echo "$options"
}

run_one() {
  local target=$1 work="$build/runs/$1"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/findings"
  if [ -d "$root/fuzz/seeds/$target" ]; then cp -R "$root/fuzz/seeds/$target/." "$work/corpus/"; fi
  python3 "$root/fuzz/large_seeds.py" "$target" "$work/corpus"
  ASAN_OPTIONS="$(asan_options "$target")" "$build/bin/vexo_fuzz_$target" -max_total_time="$seconds" -timeout=20 -report_slow_units=20 \
    -rss_limit_mb="$(memory_limit "$target")" -print_final_stats=1 -artifact_prefix="$work/findings/" \
    "$work/corpus" >"$work/log" 2>&1
  echo $? >"$work/status"
}

running=0
for target in "${targets[@]}"; do
  run_one "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n || true; running=$((running - 1)); fi
done
wait || true

failed=0
for target in "${targets[@]}"; do
  work="$build/runs/$target"
  execs=$(awk '/stat::number_of_executed_units/ {print $2}' "$work/log" 2>/dev/null | tail -n1)
  findings=$(find "$work/findings" -type f | wc -l)
  status=$(cat "$work/status" 2>/dev/null || echo 1)
  printf '%-24s %12s executions  %s findings\n' "$target" "${execs:-?}" "$findings"
  if [ "$findings" -gt 0 ] || [ "$status" -ne 0 ]; then
    failed=1
    echo "  status $status; log: $work/log"
    find "$work/findings" -type f -printf '  finding: %p\n'
    grep -m1 -E 'ERROR|runtime error|deadly signal' "$work/log" | sed 's/^/  /' || true
  fi
done
exit "$failed"
