#!/usr/bin/env bash
# Configured program buttons in the real kelvory.exe: kelvory.ini beside it names
# recorder programs (which carry an icon) and one program without an icon; real
# X clicks on the configured buttons start the right programs.
source "$(dirname "$0")/lib.sh"

start_display
app="$work/app"
stage "$app"
cp "$bin/recorder.exe" "$app/alpha.exe"
cp "$bin/recorder.exe" "$app/beta.exe"
cp "$bin/windowinfo.exe" "$app/no-icon.exe"
folder=$(sed 's|/|\\|g' <<<"Z:$app")
cat >"$app/kelvory.ini" <<INI
[prog2]
exe=$folder\\alpha.exe

[prog3]
exe=$folder\\no-icon.exe

[prog5]
exe=$folder\\beta.exe

[prog9]
exe=$folder\\alpha.exe
INI
log="$app/launches.log"
start_launcher "$app/kelvory.exe"

info=$(window_info)
echo "$info"
read -r _ left top right bottom _ < <(grep '^window ' <<<"$info")
read -r _ _ _ workRight workBottom < <(grep '^workarea ' <<<"$info")
width=$((right - left)); height=$((bottom - top))
read -r _ _ _ clientWidth _ < <(grep '^client ' <<<"$info")
check "two buttons widen the window by 96" [ "$clientWidth" -eq $((198 + 96)) ]
check "centred at its final width" [ "$left" -eq $(((workRight - width) / 2)) -a "$top" -eq $(((workBottom - height) / 2)) ]
check "prog2 and prog5 are shown, nothing for prog3 or prog9" \
  [ "$(grep '^image prog' <<<"$info" | awk '{print $2}' | tr '\n' ' ')" = "prog2 prog5 " ]

# Positions inside the client area: the row goes on at 48-pixel steps from the
# right edge of the widened window (the outer width minus 50).
read -r _ clientLeft _ < <(grep '^client ' <<<"$info")
for pair in "prog2 $((width - 48 - 50))" "prog5 $((width - 50))"; do
  set -- $pair
  read -r l t < <(grep "^image $1 " <<<"$info" | awk '{print $3, $4}')
  check "$1 sits at $2 in the group box" [ $((l - clientLeft)) -eq "$2" ]
done

screenshot "$work/configured.png"
for name in prog2 prog5; do
  read -r l t < <(grep "^image $name " <<<"$info" | awk '{print $3, $4}')
  colours=$(import -window root -crop "32x32+$l+$t" +repage -format %k info:)
  check "$name shows its program's icon ($colours colours)" [ "$colours" -gt 8 ]
done

read -r x y < <(button_centre prog5)
click_at "$x" "$y"
check "prog5 starts beta.exe" wait_for_lines "$log" 1
read -r x y < <(button_centre prog2)
click_at "$x" "$y"
check "prog2 starts alpha.exe" wait_for_lines "$log" 2
cat "$log"
check "the first start is beta.exe with show mode 10" grep -q $'^beta.exe\t.*\t10\r$' <(sed -n 1p "$log")
check "the second start is alpha.exe with show mode 10" grep -q $'^alpha.exe\t.*\t10\r$' <(sed -n 2p "$log")

# An edit after start-up: the same button now starts the new path.
sed -i 's|alpha.exe|beta.exe|' "$app/kelvory.ini"
click_at "$x" "$y"
check "an edited entry starts its new path" wait_for_lines "$log" 3
check "prog2 now starts beta.exe" grep -q $'^beta.exe\t' <(sed -n 3p "$log")

window_info close-main
check "a close request ends the program" wait_for_exit
finish
