#!/usr/bin/env bash
# Tooltips in the real kelvory.exe, hovered with real X mouse input: a fixed
# button names its action, a configured button the program a click would start
# and its path. The tooltip shows within a moment, goes when the pointer leaves
# or clicks, and a button whose click would start nothing shows none.
# Wine's user32 imports version.dll, so under Wine it is in every process from
# the start: that the launcher loads it only at first use is shown by its import
# table (kelvory_imports), not by its loaded modules.
source "$(dirname "$0")/lib.sh"

start_display
app="$work/app"
stage "$app"
cp "$bin/described_recorder.exe" "$app/described.exe"
cp "$bin/recorder.exe" "$app/plain.exe"
folder=$(wine_path "$app")
cat >"$app/kelvory.ini" <<INI
[prog1]
exe=$folder\\described.exe

[prog2]
exe=$folder\\plain.exe
INI
log="$app/launches.log"
start_launcher "$app/kelvory.exe"
check "no tooltip control before the first hover" [ -z "$(window_info | grep '^tooltip ')" ]

# The fixed buttons' tooltips, in their row's order, from the program's own list.
mapfile -t fixed_tooltips < <(window_info fixed-tooltips)
hover_shows Image4 "${fixed_tooltips[2]}"
away
check "the tooltip goes when the pointer leaves" tooltip_line 0

described="Launch recorder (German)\\n$folder\\described.exe"
hover_shows prog1 "$described"

# The main window and the tooltip in one picture, once the tooltip is drawn.
info=$(window_info)
read -r _ l t r b _ < <(grep '^window ' <<<"$info")
read -r _ tl tt tr tb _ < <(grep '^tooltip ' <<<"$info")
colours=0
tooltip_drawn() {
  colours=$(import -window root -crop "$((tr - tl))x$((tb - tt))+$tl+$tt" +repage -format %k info:)
  [ "$colours" -gt 2 ]
}
wait_until tooltip_drawn || true
check "the tooltip is drawn on the screen ($colours colours)" [ "$colours" -gt 2 ]
left=$((l < tl ? l : tl)); top=$((t < tt ? t : tt))
right=$((r > tr ? r : tr)); bottom=$((b > tb ? b : tb))
import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$work/tooltip.png"

# A click hides it and starts the program once: the next start recorded is
# that of the next click, on the other button (each click waits until what
# was started before it has ended).
click_button prog1
check "a click starts the program" wait_for_lines "$log" 1
check "a click hides the tooltip" tooltip_line 0
click_button prog2
check "the next click starts its program" wait_for_lines "$log" 2
check "exactly one start of the first" [ "$(grep -c '^described.exe' "$log")" -eq 1 ]
check "the next start is the other program's" [ "$(sed -n 2p "$log" | cut -f1)" = plain.exe ]
away

hover_shows prog2 "plain.exe\\n$folder\\plain.exe"
away
tooltip_line 0 >/dev/null || true

# With the file gone a click starts nothing, and the tooltip shows nothing:
# for twice the time a tooltip takes, and then the next one to show is that of
# the next button hovered.
rm "$app/kelvory.ini"
hover prog2
check "no tooltip where a click would start nothing" no_tooltip_shows
hover_shows Image6 "${fixed_tooltips[3]}"
away

window_info close-main
check "a close request ends the program" wait_for_exit
finish
