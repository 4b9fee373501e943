#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test (under a virtual X display when there is none). Arguments go to ctest;
# without any, every fuzz target is then built and run briefly on its seeds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

# The scripts kept in the program and the tests' stand-in game modules pass luacheck
# (settings in .luacheckrc).
shopt -s nullglob globstar
lua_files=("$root"/host/app/scripts/*.lua "$root"/tests/host/fixtures/**/*.lua)
shopt -u nullglob globstar
if [ ${#lua_files[@]} -gt 0 ]; then
  (cd "$root" && luacheck --no-color --codes "${lua_files[@]}")
fi

# One clang tree holds the tests and the fuzz targets: the libraries are compiled
# once, at -O1 with line tables (enough for symbolised sanitizer reports) and with
# the fuzzer's coverage hooks; the test sources themselves at -O0, which halves
# their compile time.
build="${VEXO_TEST_BUILD_DIR:-$root/build/test}"
jobs=$(nproc)
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= \
      -DCMAKE_C_FLAGS="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" \
      -DVEXO_SANITIZE=ON -DVEXO_BUILD_TESTS=ON -DVEXO_BUILD_FUZZ=ON \
      -DVEXO_TEST_CODE_FLAGS="-O0" >/dev/null
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
run=(ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@")
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  xvfb-run -a "${run[@]}"
else
  "${run[@]}"
fi

# Fuzz smoke: the targets keep building and their seeds (known crashes among them)
# keep passing.
if [ $# -eq 0 ]; then
  VEXO_JOBS="$jobs" VEXO_FUZZ_BUILD_DIR="$build" VEXO_FUZZ_REUSE_BUILD=1 \
    "$root/scripts/fuzz.sh" "${VEXO_FUZZ_SMOKE_SECONDS:-3}"
fi
