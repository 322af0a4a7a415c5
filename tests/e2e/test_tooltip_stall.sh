#!/usr/bin/env bash
# A configured program on a share that stalls, end to end: a FUSE file system
# (stallfs.py) serves the described recorder and, on demand, makes every look-up
# of it wait. The tooltip's look-up blocks, yet the launcher's window answers
# at once and a click on another button starts its program; released, the
# tooltip shows the description. Closing the launcher while a look-up blocks
# takes its window away at once, and the process ends once the file system
# answers, with no crash.
#
# Wine's server reads a program's headers itself when a program maps it, so a
# file system that stalled the reads would stall every Wine process: on
# Windows only the reading thread waits. The look-up of the file's attributes,
# done by the calling thread alone, is where this one stalls. Without FUSE
# (no /dev/fuse, no python3-fusepy, a mount refused) the test says so and is
# skipped; TooltipTest's in-process test with a look-up that blocks holds the
# same behaviour everywhere.
source "$(dirname "$0")/lib.sh"

skip() { echo "SKIPPED: $*"; exit 77; }

python=/usr/bin/python3
[ -e /dev/fuse ] || skip "no /dev/fuse on this machine"
"$python" -c 'import fusepy' 2>/dev/null || skip "python3-fusepy is not installed"

served="$work/served"
share="$work/share"
gate="$work/stall"
fs_pid=""
stop_file_system() {
  rm -f "$gate"
  if [ -n "$fs_pid" ]; then
    umount "$share" 2>/dev/null || fusermount -u "$share" 2>/dev/null || true
    kill "$fs_pid" 2>/dev/null || true
    wait "$fs_pid" 2>/dev/null || true
  fi
}
trap 'stop_file_system; cleanup' EXIT

# A run that was killed may have left its file system mounted.
umount -l "$share" 2>/dev/null || true
rm -rf "$served" "$share" "$gate"
mkdir -p "$served" "$share"
cp "$bin/described_recorder.exe" "$served/described.exe"
"$python" "$(dirname "$0")/stallfs.py" "$served/described.exe" "$share" "$gate" 2>"$work/stallfs.log" &
fs_pid=$!
mounted() { [ -f "$share/described.exe" ]; }
wait_until mounted || skip "the FUSE mount was refused: $(tail -1 "$work/stallfs.log")"

start_display
app="$work/app"
stage "$app"
cp "$bin/recorder.exe" "$app/plain.exe"
folder=$(wine_path "$app")
target=$(wine_path "$share")\\described.exe
cat >"$app/kelvory.ini" <<INI
[prog1]
exe=$target

[prog2]
exe=$folder\\plain.exe
INI
log="$app/launches.log"
start_launcher "$app/kelvory.exe"
check "the program on the share has a button" [ -n "$(button_centre prog1)" ]

touch "$gate"
hover_shows prog1 "described.exe\\n$target"
check "the window answers while the look-up blocks" window_info ping
click_button prog2
check "a click on another button starts its program" wait_for_lines "$log" 1
check "the launch was of the other program" grep -q '^plain.exe' "$log"

away
hover_shows prog1 "described.exe\\n$target"
rm "$gate"
described="Launch recorder (German)\\n$target"
shows_description() { [ "$(window_info | grep '^tooltip ' | cut -d' ' -f7-)" = "$described" ]; }
check "released, the tooltip shows the description" wait_until shows_description

# Closing while a look-up blocks. Wine makes no mouse message of a move back
# to where the pointer last was in its windows, so this hover comes in a little
# off the button's centre.
away
touch "$gate"
read -r x y < <(button_centre prog1)
xdotool mousemove --sync $((x + 3)) $((y + 3))
line=$(tooltip_line 1) || true
echo "prog1: $line"
check "a hover starts another look-up, which blocks" [ "$(cut -d' ' -f7- <<<"$line")" = "described.exe\\n$target" ]
window_info close-main
gone() { [ "$(window_info | head -1)" = "no main window" ]; }
check "a close request takes the window away while the look-up blocks" gone
rm "$gate"
check "the process ends once the look-up is answered" wait_for_exit
status=0
wait "$launcher_pid" || status=$?
check "and it ends well (status $status)" [ "$status" -eq 0 ]
finish
