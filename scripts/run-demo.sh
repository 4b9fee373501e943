#!/usr/bin/env bash
# Builds the client in Release and runs it on examples/demo against the local patch
# host, which serves the demo's update package (made from examples/demo-patch) on
# the patch host ports of the build (18443 and 18444 by default). The client's
# writable folder is build/release/demo-data, kept between runs: the first run
# downloads and unpacks the package into its resource cache, a later one finds no
# update. The host is stopped afterwards; the script exits with the client's status.
# Extra arguments go to the client (a later -writable-path wins).
# VEXO_DEMO_SECONDS=N stops the client with SIGTERM after N seconds (default 120;
# 0: never); the demo's script ends it well before.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target vexo-client vexo_certs

primary=$(sed -n 's/^VEXO_PATCH_HOST_PRIMARY:STRING=//p' "$build/CMakeCache.txt")
secondary=$(sed -n 's/^VEXO_PATCH_HOST_SECONDARY:STRING=//p' "$build/CMakeCache.txt")
case "$primary/$secondary" in
  localhost:*/127.0.0.1:*) ;;
  *) echo "run-demo: the build's patch hosts ($primary, $secondary) are not the local ones" >&2; exit 2 ;;
esac

# What the patch host serves: the package, its resource list and the gateway reply
# that the demo's "fenk/gateway" asks for. The zip's bytes do not depend on when
# it is made.
served="$build/demo-patchhost"
rm -rf "$served"
mkdir -p "$served/demo"
python3 - "$root/examples/demo-patch" "$served/demo" "$primary" <<'PY'
import hashlib, json, os, sys, zipfile
source, out, primary = sys.argv[1:4]
package = os.path.join(out, "demo-101.zip")
with zipfile.ZipFile(package, "w") as z:
    for folder, dirs, files in os.walk(source):
        dirs.sort()
        for name in sorted(files):
            if name == "README.md":
                continue
            path = os.path.join(folder, name)
            info = zipfile.ZipInfo(os.path.relpath(path, source), date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                z.writestr(info, f.read())
data = open(package, "rb").read()
with open(os.path.join(out, "list.json"), "w") as f:
    json.dump({"sign": "demo1",
               "xlist": [[101, "demo-101.zip", hashlib.md5(data).hexdigest().upper(), len(data)]]}, f)
with open(os.path.join(out, "gateway.json"), "w") as f:
    json.dump({"Res": "https://%s/demo/list.json" % primary}, f)
PY

ready="$served/ready.json"
python3 "$root/tools/patchhost/patch_host.py" --root "$served" \
  --ports "${primary##*:},${secondary##*:}" \
  --cert "$build/certs/server.pem" --key "$build/certs/server.key" \
  --ready "$ready" --parent $$ &
host_pid=$!
client_pid=
stop_all() {
  [ -n "$client_pid" ] && kill -TERM "$client_pid" 2>/dev/null || true
  kill -TERM "$host_pid" 2>/dev/null || true
  wait "$host_pid" 2>/dev/null || true
}
trap stop_all EXIT
for _ in $(seq 100); do
  [ -s "$ready" ] && break
  if ! kill -0 "$host_pid" 2>/dev/null; then
    echo "run-demo: the patch host did not start" >&2
    exit 3
  fi
  sleep 0.1
done
[ -s "$ready" ] || { echo "run-demo: the patch host is not ready" >&2; exit 3; }

client="$build/bin/vexo-client"
seconds="${VEXO_DEMO_SECONDS:-120}"
# What the client writes (settings, caches) stays in the build folder, not in the
# example's sources.
data="$build/demo-data"
mkdir -p "$data"
"$client" -workdir "$root/examples/demo" -writable-path "$data" "$@" &
client_pid=$!
if [ "$seconds" != 0 ]; then
  ( sleep "$seconds"; kill -TERM "$client_pid" 2>/dev/null || true ) >/dev/null 2>&1 &
fi
set +e
wait "$client_pid"
status=$?
set -e
client_pid=
echo "vexo-client exited with status $status"
exit $status
