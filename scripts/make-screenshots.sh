#!/usr/bin/env bash
# Makes the user guide's pictures (docs/guide-*.png) from the real window: builds the tool and the
# simulator, starts zelor-pui-sim on a pseudo-terminal, opens zelor-pui under Xvfb, works each tab
# with clicks at the controls' designed places, and photographs the screen.
#   bash scripts/make-screenshots.sh [OUTPUT_DIR]     (default docs/)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${ZELOR_BUILD_PACKAGES[@]}" xvfb xauth xdotool imagemagick
source scripts/window-driver.sh
out=$(realpath "${1:-docs}")
mkdir -p "$out"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target zelor-pui zelor-pui-sim

work=$(mktemp -d)
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
# A panel with a full archive that writes a new event every second, for the monitor.
./build/zelor-pui-sim --no-commands --records 200 --event-every 1 --log "$work/sim.log" > "$work/sim.out" 2>&1 &
sim_pid=$!
zelor_wait_registered "$XDG_RUNTIME_DIR/zelor-pui-ports"

export out work
export QT_QPA_PLATFORM=xcb  # on the X server, whatever the caller's environment says
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  source scripts/window-driver.sh
  ./build/zelor-pui > "$work/tool.out" 2>&1 &
  tool=$!
  trap "kill $tool 2>/dev/null || true" EXIT
  win=$(zelor_wait_window 30)
  eval "$(xdotool getwindowgeometry --shell "$win")"
  # The screen within the window (and a menu opened over it), in few colours: small files.
  shot() {
    sleep "${2:-0.5}"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip +dither -colors 48 "PNG8:$out/guide-$1.png"
    echo "$out/guide-$1.png"
  }
  requests() { grep -c " RX " "$work/sim.log" || true; }
  # Waits (up to 12 s) until the panel has answered more requests than $1 and then fell quiet.
  settle() {
    local before=$1 last=-1 now
    for _ in $(seq 40); do
      now=$(requests)
      [ "$now" -gt "$before" ] && [ "$now" -eq "$last" ] && return 0
      last=$now
      sleep 0.3
    done
  }

  # Connection > Port: the simulator listed first and chosen.
  zelor_click "$win" 30 8
  sleep 0.3
  xdotool mousemove --window "$win" 40 34
  shot port-menu 0.8
  xdotool key Escape Escape

  zelor_click_tab "$win" 2            # "ПРОГ.-2": showing it reads the parameters
  n=$(requests); settle "$n"; shot parameters

  zelor_click_tab "$win" 3            # "КОНФИГ.-3": read the configuration from the panel
  n=$(requests); zelor_click_page "$win" 22 21; settle "$n"; shot config

  zelor_click_tab "$win" 4            # "КОНФИГ.-4": the automation rules of that configuration
  shot automation

  zelor_click_tab "$win" 1            # "АРХИВ": the 15 newest records
  n=$(requests); zelor_click_page "$win" 724 60; settle "$n"; shot archive

  zelor_click_tab "$win" 0            # "СТАТУС": the monitor, a few events in
  zelor_click_page "$win" 110 390
  shot status 4
'
du -ch "$out"/guide-*.png | tail -n 1
