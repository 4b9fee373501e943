#!/usr/bin/env bash
# Configures a copy of the source tree that sits below a ".../host/config/..."
# folder and checks that every library still gets its sources: which files belong
# to a library must depend on the tree alone, never on where the clone sits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vexo-clone-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
clone="$scratch/host/config/app/vexo-client"
mkdir -p "$clone"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$clone" -xf -

cmake -S "$clone" -B "$clone/build" -G Ninja -DVEXO_BUILD_TESTS=OFF >"$scratch/configure.log" 2>&1 || {
  cat "$scratch/configure.log"
  echo "configure failed in $clone"
  exit 1
}
fail=0
expect() {   # <description> <grep -c result must be non-zero: 1 | zero: 0> <pattern>
  local count
  count=$(grep -c -- "$3" "$clone/build/build.ninja" || true)
  if { [ "$2" = 1 ] && [ "$count" = 0 ]; } || { [ "$2" = 0 ] && [ "$count" != 0 ]; }; then
    echo "FAIL: $1"
    fail=1
  fi
}
expect "vexo_app builds the start-up" 1 "vexo_app.dir/SimulatorWin.cpp.o"
expect "vexo_app leaves the program's entry to vexo-client" 0 "vexo_app.dir/main.cpp.o"
expect "vexo_host leaves the start-up to vexo_app" 0 "vexo_host.dir/app/"
expect "vexo_host leaves the configuration to vexo_hostconfig" 0 "vexo_host.dir/config/"
expect "vexo_hostconfig builds the configuration" 1 "vexo_hostconfig.dir/ProjectConfig.cpp.o"
[ $fail = 0 ] && echo "clone below $scratch/host/config/ configures with the right sources"
exit $fail
