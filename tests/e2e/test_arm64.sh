#!/usr/bin/env bash
# kelvory.exe for ARM64, under Debian's arm64 Wine run by qemu-user, on a
# virtual X display: the window's geometry, the four fixed buttons and one
# configured button, each with its icon on the screen; a real Enter key and a
# real X click on the configured button start its program, an ARM64 recorder
# that writes its line with WriteFile.
source "$(dirname "$0")/lib.sh"

# Every Windows program here runs in an emulator, several times slower than on
# x64: the started program is given 30 seconds, not ten.
has_started() { for _ in $(seq 150); do has_lines "$log" "$1" && return 0; sleep 0.2; done; return 1; }

start_display
app="$work/app"
stage "$app"
cp "$bin/recorder.exe" "$app/tool.exe"
# The arm64 Wine reaches the project's files through R:, not Z: (scripts/lib/wine-prefix).
folder=$(sed 's|/|\\|g' <<<"R:${app#"$root"}")
printf '[prog1]\r\nexe=%s\\tool.exe\r\n' "$folder" >"$app/kelvory.ini"
log="$app/launches.log"
start_launcher "$app/kelvory.exe"

info=$(window_info)
echo "$info"
check "the window is shown" grep -q '^window .* 1 0 0$' <<<"$info"
check "the client area is 246 x 61: the fixed row and one configured button" \
  grep -q '^client [0-9-]* [0-9-]* 246 61$' <<<"$info"
check_centred "$info"
check "the four fixed buttons and prog1 are shown" \
  [ "$(awk '$1 == "image" && $7 == 1 { print $2 }' <<<"$info" | sort | xargs)" = "Image2 Image3 Image4 Image6 prog1" ]
screenshot "$work/arm64.png"
check_icons_painted "$info" Image3 Image2 Image4 Image6 prog1

# The keyboard first, while the window is active and nothing else was started:
# the first key shows the selection on the first button, End moves it to the
# configured one, and Enter starts it once the frame has been on screen a while.
# Wine centres the pointer a moment after its desktop starts; it is moved away
# so that no hover comes between.
sleep 1
point_at 0 0
xdotool key Tab
xdotool key End
sleep 1
xdotool key Return
check "Enter on the selected prog1 starts tool.exe" has_started 1

click_button prog1
check "a click on prog1 starts tool.exe again" has_started 2
cat "$log"
check "both starts are tool.exe with show mode 10" \
  [ "$(grep -c $'^tool.exe\t.*\t10\r$' "$log")" -eq 2 ]

window_info close-main
check "a close request ends the program" wait_for_exit
finish
