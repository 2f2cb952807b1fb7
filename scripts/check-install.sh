#!/usr/bin/env bash
# Installs a build into a temporary prefix and runs both installed programs from another folder:
# the files land where they belong, --help and --version answer, the desktop entry is valid, and
# the installed tool, opened under Xvfb, talks to the installed simulator (showing "ПРОГ.-2"
# queries the panel). Usage: check-install.sh BUILD_DIR. Exit 77 (skipped) without Xvfb/xdotool.
set -euo pipefail
build=$(cd "${1:?usage: check-install.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/window-driver.sh"

tmp=$(mktemp -d)
sim_pid="" tool_pid=""
cleanup() {
  [ -n "$tool_pid" ] && kill "$tool_pid" 2>/dev/null && wait "$tool_pid" 2>/dev/null
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" > "$tmp/install.log"
for f in bin/zelor-pui bin/zelor-pui-sim share/applications/zelor-pui.desktop \
         share/icons/hicolor/scalable/apps/zelor-pui.svg share/man/man1/zelor-pui.1.gz \
         share/man/man1/zelor-pui-sim.1.gz share/doc/zelor-pui/guide.en.md share/doc/zelor-pui/guide.ru.md; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
# Nothing but the programs in bin/: they need no file beside them.
[ "$(ls "$prefix/bin" | sort | tr '\n' ' ')" = "zelor-pui zelor-pui-sim " ] || fail "bin/ holds: $(ls "$prefix/bin")"
zcat "$prefix/share/man/man1/zelor-pui.1.gz" | grep -q '^\.TH ZELOR-PUI "1"' || fail "zelor-pui.1 is no manual page"
zcat "$prefix/share/man/man1/zelor-pui-sim.1.gz" | grep -q -- '--event-every' || fail "zelor-pui-sim.1 lacks the options"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/zelor-pui.desktop" || fail "desktop entry"
fi

# From a folder that has nothing of the project, with the build out of reach.
mkdir "$tmp/elsewhere" && cd "$tmp/elsewhere"
[ "$("$prefix/bin/zelor-pui" --version | head -n 1)" = "zelor-pui 1.04" ] || fail "zelor-pui --version"
"$prefix/bin/zelor-pui" --help | grep -q '^Usage: zelor-pui' || fail "zelor-pui --help"
"$prefix/bin/zelor-pui-sim" --help | grep -q '^Usage: zelor-pui-sim' || fail "zelor-pui-sim --help"
echo "installed into $prefix; --help and --version answer from $PWD"

if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
  echo "SKIPPED the window check: xvfb-run and xdotool are needed"
  exit 77
fi
export XDG_RUNTIME_DIR=$tmp/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$prefix/bin/zelor-pui-sim" --no-commands --log "$tmp/sim.log" > "$tmp/sim.out" 2>&1 &
sim_pid=$!
zelor_wait_registered "$XDG_RUNTIME_DIR/zelor-pui-ports" || fail "simulator: $(cat "$tmp/sim.out")"

# One X session: the tool opens, lists SIM1 first and picks it; showing "ПРОГ.-2" reads the
# parameter block (24 registers from 0) from the panel at 247.
export prefix tmp here
export QT_QPA_PLATFORM=xcb  # the test command runs everything else offscreen
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  source "$here/window-driver.sh"
  "$prefix/bin/zelor-pui" > "$tmp/tool.out" 2>&1 &
  tool=$!
  trap "kill $tool 2>/dev/null; wait $tool 2>/dev/null || true" EXIT
  win=$(zelor_wait_window 30)
  zelor_click_tab "$win" 2
  zelor_wait_for_line "$tmp/sim.log" " TX F7 03 30 " 15
  kill -0 $tool
' || fail "the installed tool with the installed simulator (tool: $(cat "$tmp/tool.out" 2>/dev/null); sim log: $(tail -n 3 "$tmp/sim.log" 2>/dev/null))"
echo "the installed tool opened under Xvfb from $PWD and read the parameters of the installed simulator:"
grep -m 2 -E " (RX|TX) F7 03 " "$tmp/sim.log"
