# Shared by the end-to-end tests: a Wine session of its own on a fresh virtual
# X display, the launcher staged in a work folder with recorder programs, and
# the window system's own view of where the buttons are.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/scripts/wine-env"
bin=${KELVORY_BIN:?KELVORY_BIN names the folder with kelvory.exe}
work=${KELVORY_E2E_WORK:?KELVORY_E2E_WORK names a scratch folder}

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { # check <description> <command...>
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}

launcher_pid=""
xvfb_pid=""

cleanup() {
  [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null || true
  "$WINESERVER" -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# A display of our own, whatever the caller has: the test must not click into
# someone's desktop, and Wine's session is bound to the display it starts on.
start_display() {
  "$WINESERVER" -k 2>/dev/null || true
  "$root/scripts/wine-prefix"
  local fifo
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  read -r number <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$number"
}

# stage <folder>: the launcher and a recorder standing in for wpeutil.
stage() {
  rm -rf "$1"; mkdir -p "$1"
  cp "$bin/kelvory.exe" "$1/"
  cp "$bin/recorder.exe" "$1/wpeutil.exe"
}

# start_launcher <exe> [wine start options]: starts it and waits for its window.
start_launcher() {
  local exe=$1; shift
  (cd "$(dirname "$exe")" && exec "$WINE" "$exe" >/dev/null 2>&1) &
  launcher_pid=$!
  window_info >/dev/null
}

window_info() { "$WINE" "$bin/windowinfo.exe" "$@" 2>/dev/null | tr -d '\r'; }

# The centre of an image button, in screen coordinates, by its name.
button_centre() {
  window_info | awk -v name="$1" '$1 == "image" && $2 == name { print int(($3 + $5) / 2), int(($4 + $6) / 2) }'
}

# click_button <name> [<X button>]: a click at the centre of that image button.
click_button() {
  local x y
  read -r x y < <(button_centre "$1")
  click_at "$x" "$y" "${2:-1}"
}

click_at() { xdotool mousemove --sync "$1" "$2" click "${3:-1}"; sleep 0.3; }
double_click_at() { xdotool mousemove --sync "$1" "$2" click --repeat 2 --delay 80 1; sleep 0.3; }

# Waits until the recorder log has at least <n> lines (the started program runs on its own).
wait_for_lines() {
  local log=$1 n=$2
  for _ in $(seq 50); do
    [ -f "$log" ] && [ "$(wc -l <"$log")" -ge "$n" ] && return 0
    sleep 0.2
  done
  return 1
}

line_count() { [ -f "$1" ] && wc -l <"$1" | tr -d ' ' || echo 0; }

# Waits until the launcher's process has ended.
wait_for_exit() {
  for _ in $(seq 50); do
    kill -0 "$launcher_pid" 2>/dev/null || return 0
    sleep 0.2
  done
  return 1
}

# The Windows processes whose command line names the given program.
wine_processes() { pgrep -f -i "$1" || true; }

# check_centred <window_info output>: the window lies centred in the work area
# at the size it has.
check_centred() {
  local l t r b workRight workBottom
  read -r _ l t r b _ < <(grep '^window ' <<<"$1")
  read -r _ _ _ workRight workBottom < <(grep '^workarea ' <<<"$1")
  check "centred in the work area at its width $((r - l))" \
    [ "$l" -eq $(((workRight - (r - l)) / 2)) -a "$t" -eq $(((workBottom - (b - t)) / 2)) ]
}

# check_icons_painted <window_info output> <button name>...: each button's square
# on the screen holds more than a flat colour.
check_icons_painted() {
  local info=$1 name l t colours
  shift
  for name in "$@"; do
    read -r l t < <(grep "^image $name " <<<"$info" | awk '{print $3, $4}')
    colours=$(import -window root -crop "32x32+$l+$t" +repage -format %k info:)
    check "$name shows its icon ($colours colours)" [ "$colours" -gt 8 ]
  done
}

screenshot() { # screenshot <file> : the main window's outer rectangle, the pointer away
  local l t r b
  xdotool mousemove --sync 0 0
  read -r _ l t r b _ < <(window_info | grep '^window ')
  import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$1"
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}
