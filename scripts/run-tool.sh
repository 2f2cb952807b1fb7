#!/usr/bin/env bash
# Builds the tool and the panel simulator, starts the simulator on a pseudo-terminal (it registers
# the port as SIM1, so the tool lists and selects it) writing a generated event every 10 seconds,
# so that live monitoring has something to show, opens the tool, and stops the simulator when the
# tool exits.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${ZELOR_BUILD_PACKAGES[@]}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target zelor-pui zelor-pui-sim

registry="${XDG_RUNTIME_DIR:+$XDG_RUNTIME_DIR/zelor-pui-ports}"
registry="${registry:-/tmp/zelor-pui-ports-$(id -u)}"
# Live registrations: links whose pseudo-terminal still exists.
count_registered() {
  local n=0 f
  for f in "$registry"/*; do [ -e "$f" ] && n=$((n + 1)); done
  echo "$n"
}
before=$(count_registered)

./build/zelor-pui-sim --event-every 10 &
sim_pid=$!
stop_sim() {
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
}
trap stop_sim EXIT INT TERM

# Wait (up to 10 s) for the simulator's registration to appear.
for _ in $(seq 100); do
  kill -0 "$sim_pid" 2>/dev/null || { echo "zelor-pui-sim exited before registering its port" >&2; exit 1; }
  [ "$(count_registered)" -gt "$before" ] && break
  sleep 0.1
done
[ "$(count_registered)" -gt "$before" ] || { echo "zelor-pui-sim did not register a port in $registry" >&2; exit 1; }

./build/zelor-pui
