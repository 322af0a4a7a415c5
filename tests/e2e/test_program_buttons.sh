#!/usr/bin/env bash
# Configured program buttons in the real kelvory.exe: kelvory.ini beside it names
# recorder programs (which carry an icon), one program without an icon and one
# whose icon group counts 65535 entries and holds one, which crashed the icon
# extraction before it was checked; real X clicks on the configured buttons
# start the right programs.
source "$(dirname "$0")/lib.sh"

start_display
app="$work/app"
stage "$app"
cp "$bin/recorder.exe" "$app/alpha.exe"
cp "$bin/recorder.exe" "$app/beta.exe"
cp "$bin/windowinfo.exe" "$app/no-icon.exe"
cp "$bin/targets/group_count.exe" "$app/hostile-icon.exe"
folder=$(wine_path "$app")
cat >"$app/kelvory.ini" <<INI
[prog2]
exe=$folder\\alpha.exe

[prog3]
exe=$folder\\no-icon.exe

[prog4]
exe=$folder\\hostile-icon.exe

[prog5]
exe=$folder\\beta.exe

[prog9]
exe=$folder\\alpha.exe
INI
log="$app/launches.log"
start_launcher "$app/kelvory.exe"

info=$(window_info)
echo "$info"
read -r _ left _ right _ < <(grep '^window ' <<<"$info")
width=$((right - left))
read -r _ clientLeft _ clientWidth _ < <(grep '^client ' <<<"$info")
check "two buttons widen the window by 96" [ "$clientWidth" -eq $((198 + 96)) ]
check_centred "$info"
check "prog2 and prog5 are shown, nothing for prog3, prog4 or prog9" \
  [ "$(grep '^image prog' <<<"$info" | awk '{print $2}' | tr '\n' ' ')" = "prog2 prog5 " ]

# Positions inside the client area: the row goes on at 48-pixel steps from the
# right edge of the widened window (the outer width minus 50).
for pair in "prog2 $((width - 48 - 50))" "prog5 $((width - 50))"; do
  set -- $pair
  read -r l t < <(grep "^image $1 " <<<"$info" | awk '{print $3, $4}')
  check "$1 sits at $2 in the group box" [ $((l - clientLeft)) -eq "$2" ]
done

screenshot "$work/configured.png"
check_icons_painted "$info" prog2 prog5

click_button prog5
check "prog5 starts beta.exe" wait_for_lines "$log" 1
click_button prog2
check "prog2 starts alpha.exe" wait_for_lines "$log" 2
cat "$log"
check "the first start is beta.exe with show mode 10" grep -q $'^beta.exe\t.*\t10\r$' <(sed -n 1p "$log")
check "the second start is alpha.exe with show mode 10" grep -q $'^alpha.exe\t.*\t10\r$' <(sed -n 2p "$log")

# An edit after start-up: the same button now starts the new path.
sed -i 's|alpha.exe|beta.exe|' "$app/kelvory.ini"
click_button prog2
check "an edited entry starts its new path" wait_for_lines "$log" 3
check "prog2 now starts beta.exe" grep -q $'^beta.exe\t' <(sed -n 3p "$log")

window_info close-main
check "a close request ends the program" wait_for_exit
finish
