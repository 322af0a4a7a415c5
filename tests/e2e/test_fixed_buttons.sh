#!/usr/bin/env bash
# The real kelvory.exe, clicked with real X mouse input: each fixed button
# starts its program, once per click; a close request ends the program.
source "$(dirname "$0")/lib.sh"

start_display
stage "$work/app"
log="$work/app/launches.log"
start_launcher "$work/app/kelvory.exe"

info=$(window_info)
echo "$info"
read -r _ left top right bottom visible _ < <(grep '^window ' <<<"$info")
read -r _ _ _ workRight workBottom < <(grep '^workarea ' <<<"$info")
width=$((right - left)); height=$((bottom - top))
check "the window is shown" [ "$visible" = 1 ]
check "the client area is 198 x 61" grep -q '^client [0-9-]* [0-9-]* 198 61$' <<<"$info"
check "centred in the work area" [ "$left" -eq $(((workRight - width) / 2)) -a "$top" -eq $(((workBottom - height) / 2)) ]
check "exactly the four fixed buttons" [ "$(grep -c '^image .* 1$' <<<"$info")" -eq 4 ]

# The four icons are painted: each button's square holds more than a flat colour.
screenshot "$work/fixed.png"
for name in Image3 Image2 Image4 Image6; do
  read -r l t r b < <(grep "^image $name " <<<"$info" | awk '{print $3, $4, $5, $6}')
  colours=$(import -window root -crop "32x32+$l+$t" +repage -format %k info:)
  check "$name shows its icon ($colours colours)" [ "$colours" -gt 8 ]
done

# Shut down and restart reach the recorder standing in for wpeutil, with show
# mode 10 (SW_SHOWDEFAULT). Nothing here can turn the machine off.
read -r x y < <(button_centre Image4)
click_at "$x" "$y"
check "shut down starts wpeutil once" wait_for_lines "$log" 1
read -r x y < <(button_centre Image6)
click_at "$x" "$y"
check "restart starts wpeutil once more" wait_for_lines "$log" 2
cat "$log"
check "shut down asks for 'shutdown' with show mode 10" grep -q $'^wpeutil.exe\t.* shutdown\t10\r$' <(sed -n 1p "$log")
check "restart asks for 'reboot' with show mode 10" grep -q $'^wpeutil.exe\t.* reboot\t10\r$' <(sed -n 2p "$log")

# A double click is one click; right and middle clicks are none.
read -r x y < <(button_centre Image4)
double_click_at "$x" "$y"
click_at "$x" "$y" 3
click_at "$x" "$y" 2
sleep 2
check "a double click starts once, right and middle clicks never" [ "$(line_count "$log")" -eq 3 ]

# The command prompt and Task Manager come from Wine's own system folder: look
# for the process, then end it so its window cannot swallow the next click.
for pair in "Image3 cmd.exe" "Image2 taskmgr.exe"; do
  set -- $pair
  read -r x y < <(button_centre "$1")
  click_at "$x" "$y"
  found=""
  for _ in $(seq 50); do
    found=$(wine_processes "system32.$2")
    [ -n "$found" ] && break
    sleep 0.2
  done
  check "$1 starts $2" [ -n "$found" ]
  [ -n "$found" ] && kill $found 2>/dev/null || true
done

# A close request to the main window ends the program.
window_info close-main
check "a close request ends the program" wait_for_exit
finish
