# Drives the tool's window from outside on an X display (Xvfb), by the designed pixel positions
# of the controls (sourced by the install check, the package check and the screenshot script).
# Needs xdotool. The window has no frame under Xvfb, so window coordinates are client coordinates.

ZELOR_CAPTION_PATTERN='ЗЕЛОР-ПУИ'

# Prints the id of the tool's window once it is mapped; fails after $1 seconds (default 20).
zelor_wait_window() {
  local seconds=${1:-20} id=""
  for _ in $(seq $((seconds * 10))); do
    # Found by its class, then checked by its caption: xdotool's own --name match misses the
    # Cyrillic caption in the "C" locale a minimal system starts in; bash compares the bytes.
    for id in $(xdotool search --onlyvisible --classname '^zelor-pui$' 2>/dev/null || true); do
      [[ "$(xdotool getwindowname "$id" 2>/dev/null)" == *"$ZELOR_CAPTION_PATTERN"* ]] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  echo "the window of zelor-pui did not appear within ${seconds} s" >&2
  return 1
}

# zelor_click WINDOW X Y: a left click at X, Y of the window's client area.
zelor_click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# zelor_click_tab WINDOW INDEX: the tabs are 100 pixels wide, the first at 13, 46 of the client.
zelor_click_tab() {
  zelor_click "$1" $((13 + 100 * $2 + 50)) 56
}

# zelor_wait_for_line FILE PATTERN [SECONDS]: waits until a line of FILE matches PATTERN.
zelor_wait_for_line() {
  local seconds=${3:-10}
  for _ in $(seq $((seconds * 10))); do
    grep -q -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "no line matching '$2' in $1 within ${seconds} s" >&2
  return 1
}

# zelor_wait_registered DIR [SECONDS]: waits until a simulator has registered a port in DIR.
zelor_wait_registered() {
  local seconds=${2:-10}
  for _ in $(seq $((seconds * 10))); do
    [ -e "$1/SIM1" ] && return 0
    sleep 0.1
  done
  echo "no simulator registered a port in $1 within ${seconds} s" >&2
  return 1
}

# zelor_click_page WINDOW X Y: a click at X, Y of the shown tab's page (the page starts at 14, 69
# of the client: the tab control at 13, 46 plus its frame and tab row).
zelor_click_page() {
  zelor_click "$1" $((14 + $2)) $((69 + $3))
}
