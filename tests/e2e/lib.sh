# Shared by the end-to-end tests: a Wine session of its own on a fresh virtual
# X display, the launcher staged in a work folder with recorder programs, and
# the window system's own view of where the buttons are, with the checks of
# tests/checks.sh.
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
source "$root/scripts/lib/wine-env"
bin=${KELVORY_BIN:?KELVORY_BIN names the folder with kelvory.exe}
work=${KELVORY_E2E_WORK:?KELVORY_E2E_WORK names a scratch folder}

source "$root/scripts/lib/xvfb-display"
launcher_pid=""

cleanup() {
  [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null || true
  "$WINESERVER" -k 2>/dev/null || true
  stop_virtual_display
}
trap cleanup EXIT

# A display of our own, whatever the caller has: the test must not click into
# someone's desktop, and Wine's session is bound to the display it starts on.
start_display() {
  "$WINESERVER" -k 2>/dev/null || true
  "$root/scripts/lib/wine-prefix"
  start_virtual_display
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

# pointer_at <x> <y>: true when the pointer is there now.
pointer_at() {
  [ "$(xdotool getmouselocation 2>/dev/null | sed -n 's/^x:\([0-9]*\) y:\([0-9]*\) .*/\1 \2/p')" = "$1 $2" ]
}

# point_at <x> <y>: moves the pointer there and waits until it is. xdotool's
# --sync waits for a move, which never comes when the pointer is there already.
point_at() { pointer_at "$1" "$2" || xdotool mousemove --sync "$1" "$2"; }

# A console program started from the work folder (a recorder) has a console
# host with a window of its own for a moment, which would swallow a click:
# every click waits until the programs started before it have ended.
click_at() { wait_until started_ended || true; point_at "$1" "$2"; apart_from_last_click; xdotool click "${3:-1}"; }
double_click_at() {
  wait_until started_ended || true; point_at "$1" "$2"; apart_from_last_click
  xdotool click --repeat 2 --delay 80 1
}

# Two clicks on one spot within the system's double-click time are a double
# click, which gives one click: a click that is meant as a click of its own
# comes at least that time and 200 ms more after the one before. The time is
# the window system's own, asked for at the first click.
last_click_ms=0
click_gap_ms=""
apart_from_last_click() {
  local now wait time
  if [ -z "$click_gap_ms" ]; then
    time=$(window_info double-click-time)
    [[ $time =~ ^[0-9]+$ ]] || { echo "the window system told no double-click time: '$time'" >&2; return 1; }
    click_gap_ms=$((time + 200))
  fi
  now=$(date +%s%3N)
  wait=$((click_gap_ms - (now - last_click_ms)))
  [ "$wait" -le 0 ] || sleep "$((wait / 1000)).$(printf '%03d' $((wait % 1000)))"
  last_click_ms=$(date +%s%3N)
}

# True when no program from the work folder, nor a console host, runs; the
# launcher aside.
started_ended() {
  local pid
  [ -z "$(wine_processes 'system32.conhost.exe')" ] || return 1
  for pid in $(wine_processes "${work//\//.}"); do
    tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -qi 'kelvory\.exe' || return 1
  done
  return 0
}

# wait_until <command...>: runs the command every 0.2 seconds until it succeeds,
# for at most ten seconds. False when the time ran out.
wait_until() {
  local _
  for _ in $(seq 50); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

has_lines() { [ -f "$1" ] && [ "$(wc -l <"$1")" -ge "$2" ]; }
# Waits until the recorder log has at least <n> lines (the started program runs on its own).
wait_for_lines() { wait_until has_lines "$1" "$2"; }

line_count() { [ -f "$1" ] && wc -l <"$1" | tr -d ' ' || echo 0; }

launcher_ended() { ! kill -0 "$launcher_pid" 2>/dev/null; }
# Waits until the launcher started by start_launcher has ended.
wait_for_exit() { wait_until launcher_ended; }

# The Windows processes of this test's Wine prefix whose command line matches
# the pattern (other Wine sessions may run the same programs at the same time).
wine_processes() {
  local pid
  for pid in $(pgrep -f -i "$1"); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}

# True when no program of that Unix path runs (in Wine's command lines the
# slashes are backslashes, so any character stands for them).
none_running() { [ -z "$(wine_processes "${1//\//.}")" ]; }

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

# tooltip_line <visible>: waits up to two seconds for the tooltip to be shown
# (1) or hidden (0), and prints its line.
tooltip_line() {
  local line=""
  for _ in $(seq 20); do
    line=$(window_info | grep '^tooltip ' || true)
    [ "$(awk '{print $6}' <<<"$line")" = "$1" ] && { echo "$line"; return 0; }
    sleep 0.1
  done
  echo "$line"
  return 1
}

no_tooltip_shows() { ! tooltip_line 1 >/dev/null; }

hover() {
  local x y
  read -r x y < <(button_centre "$1")
  xdotool mousemove --sync "$x" "$y"
}

away() { xdotool mousemove --sync 0 0; }

# hover_shows <button> <text>: the tooltip over that button shows exactly the text.
hover_shows() {
  local line
  hover "$1"
  line=$(tooltip_line 1) || true
  echo "$1: $line"
  check "$1 shows '$2'" [ "$(cut -d' ' -f7- <<<"$line")" = "$2" ]
}

screenshot() { # screenshot <file> : the main window's outer rectangle, the pointer away
  local l t r b
  xdotool mousemove --sync 0 0
  read -r _ l t r b _ < <(window_info | grep '^window ')
  import -window root -crop "$((r - l))x$((b - t))+$l+$t" +repage "$1"
}
