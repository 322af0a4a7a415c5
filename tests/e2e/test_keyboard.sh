#!/usr/bin/env bash
# The real kelvory.exe driven with real X key presses only: Tab, the arrows and
# Enter start the selected button exactly once, a configured one included,
# once its frame has been on the screen for the dwell; a burst of Tab and
# Enter starts nothing; Escape hides the selection and leaves the window open;
# before any key the window shows no selection, and after Tab a dotted frame
# around the first button and its tooltip beside it.
source "$(dirname "$0")/lib.sh"

start_display
app="$work/app"
stage "$app"
cp "$bin/recorder.exe" "$app/tool.exe"
folder=$(sed 's|/|\\|g' <<<"Z:$app")
printf '[prog1]\r\nexe=%s\\tool.exe\r\n' "$folder" >"$app/kelvory.ini"
log="$app/launches.log"
start_launcher "$app/kelvory.exe"
info=$(window_info)
echo "$info"
# Found while no other window comes and goes: a console window that goes
# while xdotool reads it ends the search with an X error.
launcher_x=$(xdotool search --name '^Kelvory by ' | head -n 1)
check "the launcher's X window is found" [ -n "$launcher_x" ]

# The pointer stays away from the window, so that no hover shows a tooltip of
# its own: Wine centres it once, a moment after its desktop starts, and the
# window may have appeared under it.
no_tooltip_shown() { ! window_info | awk '$1 == "tooltip" && $6 == 1 { found = 1 } END { exit !found }'; }
sleep 1
point_at 0 0
check "the pointer is away from the window" pointer_at 0 0
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
# frame_at <button>: a screenshot, now.png, shows the dotted frame around the
# button; frame_gone <button>: it shows none there.
frame_at() { shot "$work/now.png"; [ "$(ring_changes "$work/before.png" "$work/now.png" "$1")" -gt 30 ]; }
frame_gone() { shot "$work/now.png"; [ "$(ring_changes "$work/before.png" "$work/now.png" "$1")" -eq 0 ]; }
# A technician's look at the frame before Enter: longer than the launcher's
# dwell of 300 ms, counted from the screenshot that showed the frame, which
# comes after the paint.
look() { sleep 0.5; }

shot "$work/before.png"
check "before any key, no frame around the first button" [ "$(ring_of "$work/before.png" Image3 | awk '{print $3}' | sort -u | wc -l)" -eq 1 ]

xdotool key Tab
check "after Tab, a dotted frame around the first button" wait_until frame_at Image3
check "nothing else around the second button" [ "$(ring_changes "$work/before.png" "$work/now.png" Image2)" -eq 0 ]
tip=$(tooltip_line 1 || true)
echo "$tip"
read -r _ tl tt _ _ shown text < <(echo "$tip")
read -r l b < <(grep "^image Image3 " <<<"$info" | awk '{print $3, $6}')
check "after Tab, the first button's tooltip shows" [ "${shown:-0}" = 1 -a "$text" = "Command Prompt" ]
echo "button at left $l, bottom $b; tooltip at $tl,$tt"
check "beside the button, just below it" [ "${tl:-0}" -ge $((l - 8)) -a "${tl:-0}" -le $((l + 32)) -a "${tt:-0}" -ge "$b" -a "${tt:-0}" -le $((b + 16)) ]
colours=$(import -window root -crop "60x12+${tl:-0}+${tt:-0}" +repage -format %k info:)
check "the tooltip is drawn in the screenshot ($colours colours)" [ "$colours" -gt 2 ]

# Four steps right from the command prompt: Task Manager, shut down, restart,
# then the configured tool. Tab alone started nothing: the tool's start is the
# first record.
xdotool key Right Right Right Right
check "four steps right, the frame is at the configured tool" wait_until frame_at prog1
look
xdotool key Return
check "Enter starts the configured tool" wait_for_lines "$log" 1
check "the first start is the configured tool" grep -q $'^tool.exe\t.*\t10\r$' <(sed -n 1p "$log")

# The recorder is a console program: its console window takes the keyboard
# while it runs. Wine without a window manager activates no window again when
# that one goes (Windows activates another window then), and the X input focus
# is left on no window: so the launcher is activated anew from outside, as a
# technician's Alt+Tab would, and given the X focus. Its deactivation hid the
# selection: the first key shows it again where it was.
back_to_launcher() {
  wait_until started_ended || true
  window_info activate
  xdotool windowfocus --sync "$launcher_x"
}
check "the launcher has the keyboard again" back_to_launcher
xdotool key Tab Left
check "Tab and Left, the frame is at restart" wait_until frame_at Image6
look
xdotool key Return
check "then Enter starts restart" wait_for_lines "$log" 2
check "the second start is wpeutil reboot" grep -q $'^wpeutil.exe\t.* reboot\t10\r$' <(sed -n 2p "$log")

# The selection left on shut down and hidden with Escape, as the technician
# left it. Neither Enter while it is hidden nor a burst of Tab and Enter,
# however quick, starts anything: Tab shows the frame, and it stays.
check "the launcher has the keyboard again" back_to_launcher
xdotool key Tab Left
check "the frame is at shut down" wait_until frame_at Image4
xdotool key Escape
check "Escape hides the frame" wait_until frame_gone Image4
check "Escape hides the tooltip" wait_until no_tooltip_shown
check "Escape leaves the window open" [ -n "$(window_info | grep '^window ')" ]
xdotool key Return
for delay in 0 12 30; do
  xdotool key --delay "$delay" Tab Return
  check "Tab and Enter $delay ms apart: the frame shows at shut down" wait_until frame_at Image4
  cp "$work/now.png" "$work/burst-$delay.png"
  xdotool key Escape
  wait_until frame_gone Image4 || true
done

# A click on the configured tool marks the end of the bursts: its record must
# be the next one.
click_button prog1
check "the marking click starts the tool" wait_for_lines "$log" 3
check "nothing started before it: no burst and no hidden Enter" grep -q $'^tool.exe\t.*\t10\r$' <(sed -n 3p "$log")

# A look at the frame, then Enter: shut down starts, once. Another marking
# click's record must come right after, and once every started program has
# ended, nothing else is in the log.
check "the launcher has the keyboard again" back_to_launcher
xdotool key Tab
check "the frame is at shut down again" wait_until frame_at Image4
look
xdotool key Return
check "after a look, Enter starts shut down" wait_for_lines "$log" 4
click_button prog1
check "the second marking click starts the tool" wait_for_lines "$log" 5
wait_until started_ended || true
cat "$log"
check "the fourth start is wpeutil shutdown" grep -q $'^wpeutil.exe\t.* shutdown\t10\r$' <(sed -n 4p "$log")
check "the fifth is the marking click's tool" grep -q $'^tool.exe\t.*\t10\r$' <(sed -n 5p "$log")
check "exactly five starts: shut down started once" [ "$(line_count "$log")" -eq 5 ]

window_info close-main
check "a close request ends the program" wait_for_exit
finish
