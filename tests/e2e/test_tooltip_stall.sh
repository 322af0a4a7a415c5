#!/usr/bin/env bash
# Configured programs and kelvory.ini on a share that stalls, end to end: a FUSE
# file system (stallfs.py) serves two described recorders and the launcher's
# kelvory.ini (linked from beside kelvory.exe) and, on demand, makes every
# look-up of one of them wait. While a tooltip's look-up blocks on a program or
# on kelvory.ini, the launcher's window answers at once, the tooltip shows the
# file name and path, and a click on another button starts its program;
# released, the tooltip shows the description. Closing the launcher while a
# look-up blocks takes its window away at once, and the process ends once the
# file system answers, with no crash.
#
# Wine's server reads a program's headers itself when a program maps it, so a
# file system that stalled the reads would stall every Wine process: on
# Windows only the reading thread waits. The look-up of the file's attributes,
# done by the calling thread alone, is where this one stalls. Without FUSE
# (no /dev/fuse, no python3-fusepy, a mount refused) the test says so and is
# skipped; TooltipTest's in-process tests with look-ups that block hold the
# same behaviour everywhere.
source "$(dirname "$0")/lib.sh"

skip() { echo "SKIPPED: $*"; exit 77; }

python=/usr/bin/python3
[ -e /dev/fuse ] || skip "no /dev/fuse on this machine"
"$python" -c 'import fusepy' 2>/dev/null || skip "python3-fusepy is not installed"

served="$work/served"
share="$work/share"
gates="$work/gates"
waits="$work/waits.log"
fs_pid=""
stop_file_system() {
  rm -rf "$gates"
  if [ -n "$fs_pid" ]; then
    umount "$share" 2>/dev/null || fusermount -u "$share" 2>/dev/null || true
    kill "$fs_pid" 2>/dev/null || true
    wait "$fs_pid" 2>/dev/null || true
  fi
}
trap 'stop_file_system; cleanup' EXIT

start_display
app="$work/app"
stage "$app"
cp "$bin/recorder.exe" "$app/plain.exe"
folder=$(wine_path "$app")
on_share=$(wine_path "$share")
target="$on_share\\described.exe"
other="$on_share\\other.exe"

# A run that was killed may have left its file system mounted.
umount -l "$share" 2>/dev/null || true
rm -rf "$served" "$share" "$gates" "$waits"
mkdir -p "$served" "$share" "$gates"
cp "$bin/described_recorder.exe" "$served/described.exe"
cp "$bin/described_recorder.exe" "$served/other.exe"
cat >"$served/kelvory.ini" <<INI
[prog1]
exe=$target

[prog2]
exe=$folder\\plain.exe

[prog3]
exe=$other
INI
"$python" "$(dirname "$0")/stallfs.py" "$served" "$share" "$gates" "$waits" 2>"$work/stallfs.log" &
fs_pid=$!
mounted() { [ -f "$share/kelvory.ini" ]; }
wait_until mounted || skip "the FUSE mount was refused: $(tail -1 "$work/stallfs.log")"
ln -s "$share/kelvory.ini" "$app/kelvory.ini"

# stall <file> / release <file>: look-ups of the served file wait, or go on.
stall() { touch "$gates/$1"; }
release() { rm -f "$gates/$1"; }
# waits_for <file>: how many look-ups of the file have waited so far.
waits_for() { grep -cxF "$1" "$waits" 2>/dev/null || true; }
waited_more() { [ "$(waits_for "$1")" -gt "$2" ]; }
tooltip_says() { [ "$(window_info | grep '^tooltip ' | cut -d' ' -f7-)" = "$1" ]; }

log="$app/launches.log"
start_launcher "$app/kelvory.exe"
check "the programs on the share have buttons" [ -n "$(button_centre prog1)" -a -n "$(button_centre prog3)" ]

stall described.exe
hover_shows prog1 "described.exe\\n$target"
check "the tooltip's look-up of the program waits" wait_until waited_more described.exe 0
check "the window answers while the look-up blocks" window_info ping
click_button prog2
check "a click on another button starts its program" wait_for_lines "$log" 1
check "the launch was of the other program" grep -q '^plain.exe' "$log"

away
hover_shows prog1 "described.exe\\n$target"
release described.exe
check "released, the tooltip shows the description" wait_until tooltip_says "Launch recorder (German)\\n$target"

# kelvory.ini itself stalls: the tooltip shows what start-up read, and the
# window answers, since only the tooltip's look-up reads the entry; a click
# would wait, as it reads the entry on the window's thread.
away
stall kelvory.ini
hover_shows prog3 "other.exe\\n$other"
check "the tooltip's look-up of kelvory.ini waits" wait_until waited_more kelvory.ini 0
check "the window answers while kelvory.ini stalls" window_info ping
release kelvory.ini
check "released, the tooltip shows the description" wait_until tooltip_says "Launch recorder (German)\\n$other"

# Closing while a look-up blocks. The description read before shows at once.
# Wine makes no mouse message of a move back to where the pointer last was in
# its windows, so this hover comes in a little off the button's centre.
away
before=$(waits_for described.exe)
stall described.exe
read -r x y < <(button_centre prog1)
xdotool mousemove --sync $((x + 3)) $((y + 3))
line=$(tooltip_line 1) || true
echo "prog1: $line"
check "the description read before shows at once" [ "$(cut -d' ' -f7- <<<"$line")" = "Launch recorder (German)\\n$target" ]
check "a hover starts another look-up, which blocks" wait_until waited_more described.exe "$before"
window_info close-main
gone() { [ "$(window_info | head -1)" = "no main window" ]; }
check "a close request takes the window away while the look-up blocks" gone
release described.exe
check "the process ends once the look-up is answered" wait_for_exit
status=0
wait "$launcher_pid" || status=$?
check "and it ends well (status $status)" [ "$status" -eq 0 ]
finish
