#!/usr/bin/env bash
# scripts/winpe-media against stand-in media trees (stand-in boot files, a real
# WIM): the ISO's El Torito catalogue holds a BIOS and a UEFI entry whose images
# are the media's etfsboot.com and efisys.bin (or copype's fwfiles), its tree
# is the media's, and its boot.wim has Kelvory at the boot index; the disk image
# of the USB stick holds one bootable FAT32 partition with \EFI\Boot\bootx64.efi.
# Each refusal is one line and writes nothing. Nothing here boots: a stand-in
# boot file is random bytes, and only where it lands is checked.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
media_script=$root/scripts/winpe-media

mkdir -p "$work/image/Windows/System32"
head -c 4000 /dev/urandom >"$work/image/Windows/System32/cmd.exe"
# make_media <folder>: installation media with WinPE as image 1 and Setup, the
# boot image, as image 2, its EFI folder named in capitals as on real media.
make_media() {
  mkdir -p "$1/sources" "$1/boot" "$1/EFI/Microsoft/Boot" "$1/EFI/Boot" "$1/support/logs"
  wimlib-imagex capture "$work/image" "$1/sources/boot.wim" WinPE --compress=LZX >/dev/null
  wimlib-imagex append "$work/image" "$1/sources/boot.wim" Setup --boot >/dev/null
  head -c 4096 /dev/urandom >"$1/boot/etfsboot.com"
  head -c 65536 /dev/urandom >"$1/EFI/Microsoft/Boot/efisys.bin"
  head -c 65536 /dev/urandom >"$1/EFI/Microsoft/Boot/efisys_noprompt.bin"
  head -c 9000 /dev/urandom >"$1/EFI/Boot/bootx64.efi"
  head -c 3000 /dev/urandom >"$1/bootmgr"
  echo "a log" >"$1/support/logs/readme.txt"
}
make_media "$work/install"
# copype's working folder: media/ without the El Torito images, fwfiles/ with them.
make_media "$work/copype/media"
mkdir -p "$work/copype/fwfiles"
mv "$work/copype/media/boot/etfsboot.com" "$work/copype/fwfiles/"
mv "$work/copype/media/EFI/Microsoft/Boot/efisys.bin" "$work/copype/fwfiles/"
rm "$work/copype/media/EFI/Microsoft/Boot/efisys_noprompt.bin"

# boot_image <iso> <n>: El Torito image n, read from the ISO at the block the
# catalogue names, as long as the file it should be.
boot_image() {
  local lba
  lba=$(xorriso -indev "$1" -report_el_torito plain 2>/dev/null | awk -v n="$2" '$1 == "El" && $3 == "boot" && $6 == n { print $NF }')
  [ -n "$lba" ] && dd if="$1" bs=2048 skip="$lba" count=$(( ($3 + 2047) / 2048 )) status=none | head -c "$3"
}
platforms() { xorriso -indev "$1" -report_el_torito plain 2>/dev/null | awk '$1 == "El" && $3 == "boot" { print $7 }' | xargs; }
files_in() { (cd "$1" && find . -type f | sed 's|^\./||' | sort); }
has_kelvory() { wimlib-imagex dir "$1" "$2" --path=/Windows/System32/kelvory.exe >/dev/null 2>&1; }

while IFS='|' read -r what source options media efi bios; do
  [ -n "$what" ] || continue
  iso=$work/$what.iso
  source_sum=$(find "$work/$source" -type f -exec sha256sum {} + | sort)
  status=0
  # shellcheck disable=SC2086 # the table's options are split on purpose
  "$media_script" $options "$work/$source" "$iso" >"$work/$what.out" 2>&1 || status=$?
  check "$what: the ISO is written" [ "$status" -eq 0 -a -f "$iso" ]
  [ "$status" -eq 0 ] || { cat "$work/$what.out"; continue; }
  check "$what: the El Torito catalogue holds a BIOS and a UEFI entry" [ "$(platforms "$iso")" = "BIOS UEFI" ]
  check "$what: the BIOS entry is $bios" cmp -s <(boot_image "$iso" 1 "$(stat -c %s "$work/$bios")") "$work/$bios"
  check "$what: the UEFI entry is $efi" cmp -s <(boot_image "$iso" 2 "$(stat -c %s "$work/$efi")") "$work/$efi"
  rm -rf "$work/$what.tree"
  osirrox -indev "$iso" -extract / "$work/$what.tree" >/dev/null 2>&1
  chmod -R u+w "$work/$what.tree"
  check "$what: the ISO holds the media's files" [ "$(files_in "$work/$what.tree" | grep -v -e '^boot/etfsboot.com$' -e '^EFI/Microsoft/Boot/efisys')" = "$(files_in "$work/$media" | grep -v -e '^boot/etfsboot.com$' -e '^EFI/Microsoft/Boot/efisys')" ]
  check "$what: every one but boot.wim as it was" diff -r -x boot.wim -x etfsboot.com -x 'efisys*' "$work/$what.tree" "$work/$media"
  check "$what: its boot.wim has Kelvory in image 2, the boot image" has_kelvory "$work/$what.tree/sources/boot.wim" 2
  check "$what: and not in image 1" bash -c "! wimlib-imagex dir '$work/$what.tree/sources/boot.wim' 1 --path=/Windows/System32/kelvory.exe >/dev/null 2>&1"
  check "$what: the source is only read" [ "$(find "$work/$source" -type f -exec sha256sum {} + | sort)" = "$source_sum" ]
done <<'EOF'
installation media|install||install|install/EFI/Microsoft/Boot/efisys.bin|install/boot/etfsboot.com
installation media, no prompt|install|--no-prompt|install|install/EFI/Microsoft/Boot/efisys_noprompt.bin|install/boot/etfsboot.com
copype working folder|copype||copype/media|copype/fwfiles/efisys.bin|copype/fwfiles/etfsboot.com
EOF

# --- The USB stick, as a disk image ------------------------------------------
disk=$work/stick.img
"$media_script" --usb-image "$disk" "$work/install" "$work/with-stick.iso" >"$work/stick.out" 2>&1 || cat "$work/stick.out"
check "the stick's disk image has one bootable FAT32 (LBA) partition 1 MiB in" \
  grep -qE 'start= *2048, size= *[0-9]+, type=c, bootable$' <(sfdisk -d "$disk" 2>/dev/null)
check "and only one" [ "$(sfdisk -d "$disk" 2>/dev/null | grep -c 'start=')" -eq 1 ]
dd if="$disk" of="$work/partition.img" bs=1M skip=1 status=none
sound_fat32() { fsck.fat -n -v "$1" 2>&1 | grep -q '32 bit entries' && fsck.fat -n "$1" >/dev/null 2>&1; }
check "the partition is a sound FAT32 file system" sound_fat32 "$work/partition.img"
check "it holds \\EFI\\Boot\\bootx64.efi from the media" cmp -s <(mtype -i "$work/partition.img" ::/EFI/Boot/bootx64.efi) "$work/install/EFI/Boot/bootx64.efi"
mcopy -n -i "$work/partition.img" ::/sources/boot.wim "$work/stick-boot.wim"
osirrox -indev "$work/with-stick.iso" -extract /sources/boot.wim "$work/iso-boot.wim" >/dev/null 2>&1
check "and the boot.wim with Kelvory, the ISO's" cmp -s "$work/stick-boot.wim" "$work/iso-boot.wim"
check "which has Kelvory at the boot index" has_kelvory "$work/stick-boot.wim" 2

# --- Refusals: one line, nothing written --------------------------------------
mkdir -p "$work/no-boot-wim"
cp -r "$work/install/boot" "$work/install/EFI" "$work/no-boot-wim/"
mkdir -p "$work/no-efi"
cp -r "$work/install/sources" "$work/install/boot" "$work/no-efi/"
echo "someone's ISO" >"$work/taken.iso"
printf '[prog1]\r\nexe=X:\\Tools\\gone.exe\r\n' >"$work/missing-program.ini"
while IFS='|' read -r what source output options message; do
  [ -n "$what" ] || continue
  before=$( [ -e "$work/$output" ] && sha256sum <"$work/$output" || echo absent)
  status=0
  options=${options//MISSING_INI/$work/missing-program.ini}
  # shellcheck disable=SC2086 # the table's options are split on purpose
  "$media_script" $options "$work/$source" "$work/$output" >/dev/null 2>"$work/refused.err" || status=$?
  after=$( [ -e "$work/$output" ] && sha256sum <"$work/$output" || echo absent)
  check "$what: refused in one line that says so" \
    bash -c "[ $status -ne 0 ] && [ \$(wc -l <'$work/refused.err') -eq 1 ] && grep -q -- '$message' '$work/refused.err'"
  [ "$status" -ne 0 ] && grep -q -- "$message" "$work/refused.err" || cat "$work/refused.err"
  check "$what: nothing written" [ "$after" = "$before" ]
done <<'EOF'
no boot.wim|no-boot-wim|none1.iso||has no sources/boot.wim
no EFI boot image|no-efi|none2.iso||has no EFI boot image
an output that exists|install|taken.iso||already exists
a device that is no block device|install|none3.iso|--device /work/none|not a block device
a program missing, with --strict|install|none4.iso|--strict --ini MISSING_INI|not in image 2 (--strict)
EOF

finish
