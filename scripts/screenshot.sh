#!/usr/bin/env bash
# Runs the demo (scripts/run-demo.sh) on a virtual X display and writes a PNG of
# its window with the sidebar beside it, taken while the demo's skeleton waves.
# Usage: scripts/screenshot.sh [out.png] (default build/release/demo-window.png).
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
  client=
  for _ in $(seq 2400); do
    if grep -q "skeleton start" "$VEXO_SCREENSHOT_LOG"; then
      # The demo scene has been drawn; the demo ends itself half a second
      # later, once the skeleton has waved: the client is held still meanwhile.
      client=$(pgrep -n -f "bin/vexo-client -workdir $VEXO_ROOT/examples/demo" || true)
      [ -n "$client" ] && kill -STOP "$client"
      break
    fi
    kill -0 "$demo" 2>/dev/null || break
    sleep 0.02
  done
  geometry() {   # x y width height of the window titled $1
    xwininfo -name "$1" 2>/dev/null | awk "/Absolute upper-left X/ {x=\$4} /Absolute upper-left Y/ {y=\$4}
      /Width:/ {w=\$2} /Height:/ {h=\$2} END {if (w) print x, y, w, h}"
  }
  read -r x y w h <<<"$(geometry "Mộc Hà Lục")"
  if [ -z "${h:-}" ]; then
    echo "screenshot: no game window" >&2
    cat "$VEXO_SCREENSHOT_LOG" >&2
    [ -n "$client" ] && kill -CONT "$client"
    exit 1
  fi
  read -r _ _ sw _ <<<"$(geometry VEXO)"
  xwd -root -silent | python3 "$VEXO_ROOT/tools/screenshot/xwd_to_png.py" "$VEXO_SCREENSHOT_OUT" \
    "$x" "$y" "$((w + ${sw:-0}))" "$h"
  shot=$?
  [ -n "$client" ] && kill -CONT "$client"
  wait "$demo"
  exit $shot
'
echo "screenshot: $out"
