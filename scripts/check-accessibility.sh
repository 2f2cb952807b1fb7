#!/usr/bin/env bash
# Opens the tool under Xvfb in a D-Bus session with the AT-SPI accessibility bus, and reads it as
# a screen reader would (scripts/accessibility_check.py, with Debian's python3-pyatspi, so
# /usr/bin/python3). Usage: check-accessibility.sh [PROGRAM] (default build/zelor-pui).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages xvfb xauth dbus at-spi2-core python3-pyatspi
tool=$(realpath "${1:-build/zelor-pui}")
[ -x "$tool" ] || { echo "no program $tool (build it: cmake --build build --target zelor-pui)" >&2; exit 1; }
export ZELOR_TOOL=$tool
export QT_QPA_PLATFORM=xcb  # on the X server, whatever the caller's environment says
export XDG_RUNTIME_DIR=$(mktemp -d)  # no simulator's ports from elsewhere
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash -c '
  # Qt answers assistive technology whenever the accessibility bus is there.
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
  "$ZELOR_TOOL" > "$XDG_RUNTIME_DIR/tool.out" 2>&1 &
  tool=$!
  status=0
  /usr/bin/python3 scripts/accessibility_check.py || status=$?
  kill $tool 2>/dev/null || true
  wait $tool 2>/dev/null || true
  exit $status
'
