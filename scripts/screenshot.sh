#!/usr/bin/env bash
# Runs the demo (scripts/run-demo.sh) on a virtual X display and writes a PNG of
# its window with the sidebar beside it, taken a moment after the demo's scene is
# built. Usage: scripts/screenshot.sh [out.png] (default build/release/demo-window.png).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/build/release/demo-window.png}")
"$root/scripts/setup.sh"
mkdir -p "$(dirname "$out")"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
export VEXO_SCREENSHOT_OUT="$out" VEXO_SCREENSHOT_LOG="$log" VEXO_ROOT="$root"
unset VEXO_HEADLESS
xvfb-run -a -s "-screen 0 1920x1080x24" bash -c '
  set -u
  "$VEXO_ROOT/scripts/run-demo.sh" >"$VEXO_SCREENSHOT_LOG" 2>&1 &
  demo=$!
  for _ in $(seq 1200); do
    grep -q "demo scene built" "$VEXO_SCREENSHOT_LOG" && break
    kill -0 "$demo" 2>/dev/null || break
    sleep 0.1
  done
  sleep 1
  geometry() {   # x y width height of the window titled $1
    xwininfo -name "$1" 2>/dev/null | awk "/Absolute upper-left X/ {x=\$4} /Absolute upper-left Y/ {y=\$4}
      /Width:/ {w=\$2} /Height:/ {h=\$2} END {if (w) print x, y, w, h}"
  }
  read -r x y w h <<<"$(geometry "Mộc Hà Lục")" || { echo "screenshot: no game window" >&2; cat "$VEXO_SCREENSHOT_LOG" >&2; exit 1; }
  read -r _ _ sw _ <<<"$(geometry VEXO)" || sw=0
  xwd -root -silent | python3 "$VEXO_ROOT/tools/screenshot/xwd_to_png.py" "$VEXO_SCREENSHOT_OUT" "$x" "$y" "$((w + sw))" "$h"
  wait "$demo"
'
echo "screenshot: $out"
