#!/usr/bin/env bash
# The real kelvory.exe driven with real X key presses only: Tab, the arrows and
# Enter start the selected button exactly once, a configured one included;
# Escape hides the selection and leaves the window open; before any key the
# window shows no selection, and after Tab a dotted frame around the first
# button and its tooltip beside it.
source "$(dirname "$0")/lib.sh"

start_display
app="$work/app"
stage "$app"
cp "$bin/recorder.exe" "$app/tool.exe"
folder=$(wine_path "$app")
printf '[prog1]\r\nexe=%s\\tool.exe\r\n' "$folder" >"$app/kelvory.ini"
log="$app/launches.log"
start_launcher "$app/kelvory.exe"
info=$(window_info)
echo "$info"

# The pointer stays away from the window, so that no hover shows a tooltip of
# its own: Wine centres it once, a moment after its desktop starts, and the
# window may have appeared under it.
pointer_away() { pointer_at 0 0; }
no_tooltip_shown() { ! window_info | awk '$1 == "tooltip" && $6 == 1 { found = 1 } END { exit !found }'; }
sleep 1
point_at 0 0
check "the pointer is away from the window" pointer_away
check "no hover tooltip shows" wait_until no_tooltip_shown

# ring_of <png> <button>: the colours of the one-pixel ring two pixels outside
# the button's 32 x 32 square, one per line, clockwise from the top left.
ring_of() {
  local l t
  read -r l t < <(grep "^image $2 " <<<"$info" | awk '{print $3, $4}')
  convert "$1" -crop "36x36+$((l - 2))+$((t - 2))" +repage txt:- |
    awk -F'[,: ]+' 'NR > 1 && ($1 == 0 || $1 == 35 || $2 == 0 || $2 == 35) { print $1, $2, $NF }'
}
# The number of ring pixels that differ between two screenshots.
ring_changes() { diff <(ring_of "$1" "$3") <(ring_of "$2" "$3") | grep -c '^>' || true; }
shot() { import -window root "$1"; }

shot "$work/before.png"
check "before any key, no frame around the first button" [ "$(ring_of "$work/before.png" Image3 | awk '{print $3}' | sort -u | wc -l)" -eq 1 ]

xdotool key Tab
sleep 0.5
shot "$work/tab.png"
changed=$(ring_changes "$work/before.png" "$work/tab.png" Image3)
check "after Tab, a dotted frame around the first button ($changed pixels)" [ "$changed" -gt 30 ]
check "nothing else around the second button" [ "$(ring_changes "$work/before.png" "$work/tab.png" Image2)" -eq 0 ]
tip=$(window_info | grep '^tooltip ' || true)
echo "$tip"
read -r _ tl tt _ _ shown text < <(echo "$tip")
read -r l b < <(grep "^image Image3 " <<<"$info" | awk '{print $3, $6}')
check "after Tab, the first button's tooltip shows" [ "${shown:-0}" = 1 -a "$text" = "Command Prompt" ]
echo "button at left $l, bottom $b; tooltip at $tl,$tt"
check "beside the button, just below it" [ "${tl:-0}" -ge $((l - 8)) -a "${tl:-0}" -le $((l + 32)) -a "${tt:-0}" -ge "$b" -a "${tt:-0}" -le $((b + 16)) ]
colours=$(import -window root -crop "60x12+${tl:-0}+${tt:-0}" +repage -format %k info:)
check "the tooltip is drawn in the screenshot ($colours colours)" [ "$colours" -gt 2 ]
check "Tab alone starts nothing" [ "$(line_count "$log")" -eq 0 ]

# Four steps right from the command prompt: Task Manager, shut down, restart,
# then the configured tool.
xdotool key Right Right Right Right Return
check "Enter starts the configured tool" wait_for_lines "$log" 1

# The recorder is a console program: its console window takes the keyboard
# while it runs. Wine without a window manager activates no window again when
# that one goes (Windows activates another window then), and the X input focus
# is left on no window: so the launcher is activated anew from outside, as a
# technician's Alt+Tab would, and given the X focus. Its deactivation hid the
# selection: the first key shows it again where it was.
launcher_x=$(xdotool search --name '^Kelvory by ' | head -n 1)
back_to_launcher() {
  wait_until started_ended || true
  window_info activate
  xdotool windowfocus --sync "$launcher_x"
}
check "the launcher has the keyboard again" back_to_launcher
xdotool key Tab Left Return
check "Tab, Left and Enter start restart" wait_for_lines "$log" 2
sleep 1
cat "$log"
check "exactly two starts" [ "$(line_count "$log")" -eq 2 ]
check "the first start is the configured tool" grep -q $'^tool.exe\t.*\t10\r$' <(sed -n 1p "$log")
check "the second start is wpeutil reboot" grep -q $'^wpeutil.exe\t.* reboot\t10\r$' <(sed -n 2p "$log")

check "the launcher has the keyboard again" back_to_launcher
xdotool key Tab Escape
sleep 0.5
shot "$work/escape.png"
check "Escape leaves the window open" [ -n "$(window_info | grep '^window ')" ]
check "Escape hides the frame" [ "$(ring_changes "$work/before.png" "$work/escape.png" Image6)" -eq 0 ]
check "Escape hides the tooltip" no_tooltip_shown
xdotool key Return
sleep 1
check "Enter starts nothing once the selection is hidden" [ "$(line_count "$log")" -eq 2 ]

window_info close-main
check "a close request ends the program" wait_for_exit
finish
