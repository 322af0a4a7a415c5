#!/usr/bin/env bash
# scripts/winpe-media against stand-in media trees: a real WIM, and the least
# boot files that pass the script's checks (EFI applications built here and
# signed by test certificates named as Microsoft's two CAs, FAT images that hold
# them, a BIOS image of two instructions). What is checked is where each lands
# and what the script says and refuses; tests/boot starts the media in QEMU.
# - the ISO: El Torito catalogue read with xorriso, its boot images read back
#   from the blocks it names, the EFI system partition of its partition table,
#   its tree, the boot WIM in it; x64 and ARM64, installation media and copype
#   folders, the media's own boot managers and the 2023 ones (--bootex);
# - the stick's disk image: sfdisk, fsck.fat, mtools;
# - refusals: one line (a tool's own words at most as a second), nothing left;
# - output you can trust: signals, a full file system, two runs at once, a
#   mounted device (the last three need root, and are skipped without it).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
media_script=$root/scripts/winpe-media
export MTOOLS_SKIP_CHECK=1
# Every run's work files go here, which must be empty after every run.
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR"

# --- Stand-in boot programs ----------------------------------------------------
# efi_program <file> <machine>: a PE32+ EFI application (subsystem 10) for that
# machine: the x64 one built, the ARM64 one the same with its machine field set.
echo 'void efi_main(void) { for (;;) {} }' >"$work/efi.c"
x86_64-w64-mingw32-gcc -nostdlib -e efi_main -Wl,--subsystem,10 -s -o "$work/x64.efi" "$work/efi.c"
efi_program() {
  cp "$work/x64.efi" "$1"
  [ "$2" = 8664 ] && return
  local lfanew
  lfanew=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
  printf '\x64\xaa' | dd of="$1" bs=1 seek=$((lfanew + 4)) conv=notrunc status=none
}
# Test certificates with the names of Microsoft's two CAs, and signed copies.
for ca in "Windows Production PCA 2011" "Windows UEFI CA 2023" "Example Tools CA"; do
  key=$work/${ca// /_}
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$key.key" -out "$key.pem" -days 3650 -subj "/CN=$ca" 2>/dev/null
done
signed() { # signed <unsigned> <2011|2023> <output>
  local key
  key=$(ls "$work"/*"$2".key)
  sbsign --key "$key" --cert "${key%.key}.pem" --output "$3" "$1" 2>/dev/null
}
# efi_image <file> <program> <name>: a FAT image holding EFI/BOOT/<name>.
efi_image() {
  mkfs.fat -C "$1" 1440 >/dev/null
  mmd -i "$1" ::/EFI ::/EFI/BOOT
  mcopy -i "$1" "$2" "::/EFI/BOOT/$3"
}
efi_program "$work/boot-x64.efi" 8664
efi_program "$work/boot-aa64.efi" aa64
for year in 2011 2023; do
  signed "$work/boot-x64.efi" "$year" "$work/x64-$year.efi"
  signed "$work/boot-aa64.efi" "$year" "$work/aa64-$year.efi"
  efi_image "$work/efisys-x64-$year.bin" "$work/x64-$year.efi" BOOTX64.EFI
  efi_image "$work/efisys-aa64-$year.bin" "$work/aa64-$year.efi" BOOTAA64.EFI
done
# cli; hlt: a no-emulation BIOS boot image that stops the machine.
{ printf '\xfa\xf4'; head -c 2046 /dev/zero; } >"$work/etfsboot.com"

# --- Stand-in media --------------------------------------------------------------
# WinPE (image 1) holds the 2023-signed boot files where installation media
# with the April 2024 updates hold them; Setup (image 2) is the boot image.
mkdir -p "$work/setup/Windows/System32"
head -c 4000 /dev/urandom >"$work/setup/Windows/System32/cmd.exe"
# make_media <folder> <x64|aa64>: installation media, its EFI folder named in
# capitals as on real media, its boot managers signed by the 2011 CA.
make_media() {
  local arch=$2 pe=$work/winpe-$2
  if [ ! -d "$pe" ]; then
    mkdir -p "$pe/Windows/Boot/EFI_EX" "$pe/Windows/Boot/DVD_EX/EFI/en-US" "$pe/Windows/Boot/FONTS_EX"
    cp -r "$work/setup/Windows" "$pe/"
    cp "$work/$arch-2023.efi" "$pe/Windows/Boot/EFI_EX/bootmgfw_EX.efi"
    cp "$work/$arch-2023.efi" "$pe/Windows/Boot/EFI_EX/bootmgr_EX.efi"
    cp "$work/efisys-$arch-2023.bin" "$pe/Windows/Boot/DVD_EX/EFI/en-US/efisys_EX.bin"
    cp "$work/efisys-$arch-2023.bin" "$pe/Windows/Boot/DVD_EX/EFI/en-US/efisys_noprompt_EX.bin"
    echo "a 2023 font" >"$pe/Windows/Boot/FONTS_EX/segmono_boot_EX.ttf"
  fi
  mkdir -p "$1/sources" "$1/EFI/Microsoft/Boot/Fonts" "$1/EFI/Boot" "$1/support/logs"
  wimlib-imagex capture "$pe" "$1/sources/boot.wim" WinPE --compress=LZX >/dev/null
  wimlib-imagex append "$work/setup" "$1/sources/boot.wim" Setup --boot >/dev/null
  cp "$work/efisys-$arch-2011.bin" "$1/EFI/Microsoft/Boot/efisys.bin"
  cp "$work/efisys-$arch-2011.bin" "$1/EFI/Microsoft/Boot/efisys_noprompt.bin"
  echo "a 2011 font" >"$1/EFI/Microsoft/Boot/Fonts/segmono_boot.ttf"
  if [ "$arch" = x64 ]; then
    mkdir -p "$1/boot"
    cp "$work/etfsboot.com" "$1/boot/etfsboot.com"
    cp "$work/x64-2011.efi" "$1/EFI/Boot/bootx64.efi"
    head -c 3000 /dev/urandom >"$1/bootmgr"
  else
    cp "$work/aa64-2011.efi" "$1/EFI/Boot/bootaa64.efi"
  fi
  cp "$work/$arch-2011.efi" "$1/bootmgr.efi"
  echo "a log" >"$1/support/logs/readme.txt"
}
make_media "$work/install" x64
make_media "$work/arm" aa64
# copype's working folder: media/ without the El Torito images, fwfiles/ with
# them, and bootbins/ with the 2023-signed files.
make_media "$work/copype/media" x64
mkdir -p "$work/copype/fwfiles" "$work/copype/bootbins"
mv "$work/copype/media/boot/etfsboot.com" "$work/copype/media/EFI/Microsoft/Boot/efisys.bin" "$work/copype/fwfiles/"
rm "$work/copype/media/EFI/Microsoft/Boot/efisys_noprompt.bin"
cp "$work/x64-2023.efi" "$work/copype/bootbins/bootmgfw_EX.efi"
cp "$work/x64-2023.efi" "$work/copype/bootbins/bootmgr_EX.efi"
cp "$work/efisys-x64-2023.bin" "$work/copype/bootbins/efisys_EX.bin"
echo "a 2023 font" >"$work/copype/bootbins/segmono_boot_EX.ttf"
# What the media hold once --bootex has put the 2023 files in place.
expect_bootex() { # expect_bootex <media> <folder> <x64|aa64>
  cp -r "$1" "$2"
  cp "$work/$3-2023.efi" "$(ls -d "$2"/EFI/Boot/boot*.efi)"
  cp "$work/$3-2023.efi" "$2/bootmgr.efi"
  echo "a 2023 font" >"$2/EFI/Microsoft/Boot/Fonts/segmono_boot.ttf"
}
expect_bootex "$work/install" "$work/install-bootex" x64
expect_bootex "$work/copype/media" "$work/copype-bootex" x64
expect_bootex "$work/arm" "$work/arm-bootex" aa64
# Media whose boot managers are signed by another CA, or by none.
for signature in other unsigned; do
  if [ "$signature" = other ]; then signed "$work/boot-x64.efi" CA "$work/x64-$signature.efi"; else cp "$work/boot-x64.efi" "$work/x64-$signature.efi"; fi
  efi_image "$work/efisys-$signature.bin" "$work/x64-$signature.efi" BOOTX64.EFI
  cp -r "$work/install" "$work/$signature"
  for file in EFI/Microsoft/Boot/efisys.bin EFI/Microsoft/Boot/efisys_noprompt.bin; do cp "$work/efisys-$signature.bin" "$work/$signature/$file"; done
  for file in EFI/Boot/bootx64.efi bootmgr.efi; do cp "$work/x64-$signature.efi" "$work/$signature/$file"; done
done

# --- Reading the results -----------------------------------------------------------
# boot_image <iso> <n> <size>: El Torito image n, read from the ISO at the block
# the catalogue names, as long as the file it should be.
boot_image() {
  local lba
  lba=$(xorriso -indev "$1" -report_el_torito plain 2>/dev/null | awk -v n="$2" '$1 == "El" && $3 == "boot" && $6 == n { print $NF }')
  [ -n "$lba" ] && dd if="$1" bs=2048 skip="$lba" count=$(( ($3 + 2047) / 2048 )) status=none | head -c "$3"
}
platforms() { xorriso -indev "$1" -report_el_torito plain 2>/dev/null | awk '$1 == "El" && $3 == "boot" { print $7 }' | xargs; }
# esp <iso> <size>: the EFI system partition that the ISO's own GPT names, as
# a disk reader would find it.
esp() {
  local start
  start=$(sfdisk -d "$1" 2>/dev/null | sed -n 's/.*: start= *\([0-9]*\),.*type=C12A7328-F81F-11D2-BA4B-00A0C93EC93B.*/\1/p' | head -n 1)
  [ -n "$start" ] && dd if="$1" bs=512 skip="$start" count=$(( ($2 + 511) / 512 )) status=none | head -c "$2"
}
files_in() { (cd "$1" && find . -type f | sed 's|^\./||' | sort); }
has_kelvory() { wimlib-imagex dir "$1" "$2" --path=/Windows/System32/kelvory.exe >/dev/null 2>&1; }
no_leftovers() { [ -z "$(ls -A "$TMPDIR")" ] && [ -z "$(find "$work" -maxdepth 2 -name '.*.partial')" ]; }

while IFS='|' read -r what source options media efi bios signer; do
  [ -n "$what" ] || continue
  iso=$work/$what.iso
  source_sum=$(find "$work/$source" -type f -exec sha256sum {} + | sort)
  status=0
  # shellcheck disable=SC2086 # the table's options are split on purpose
  "$media_script" $options "$work/$source" "$iso" >"$work/$what.out" 2>&1 || status=$?
  check "$what: the ISO is written" [ "$status" -eq 0 -a -f "$iso" ]
  [ "$status" -eq 0 ] || { cat "$work/$what.out"; continue; }
  if [ "$bios" = - ]; then
    check "$what: the El Torito catalogue holds a UEFI entry only" [ "$(platforms "$iso")" = UEFI ]
    uefi=1
  else
    check "$what: the El Torito catalogue holds a BIOS and a UEFI entry" [ "$(platforms "$iso")" = "BIOS UEFI" ]
    check "$what: the BIOS entry is $bios" cmp -s <(boot_image "$iso" 1 "$(stat -c %s "$work/$bios")") "$work/$bios"
    uefi=2
  fi
  check "$what: the UEFI entry is $efi" cmp -s <(boot_image "$iso" $uefi "$(stat -c %s "$work/$efi")") "$work/$efi"
  check "$what: the ISO's partition table holds it as the EFI system partition" cmp -s <(esp "$iso" "$(stat -c %s "$work/$efi")") "$work/$efi"
  check "$what: the script says: $signer" grep -qx "Secure Boot: $signer: the EFI boot image's BOOT.*, \\\\EFI\\\\Boot\\\\boot.*\\.efi, \\\\bootmgr.efi (.*)\\." "$work/$what.out"
  rm -rf "$work/$what.tree"
  osirrox -indev "$iso" -extract / "$work/$what.tree" >/dev/null 2>&1
  chmod -R u+w "$work/$what.tree"
  check "$what: the ISO holds the media's files" [ "$(files_in "$work/$what.tree" | grep -v -e '^boot/etfsboot.com$' -e '^EFI/Microsoft/Boot/efisys')" = "$(files_in "$work/$media" | grep -v -e '^boot/etfsboot.com$' -e '^EFI/Microsoft/Boot/efisys')" ]
  check "$what: every one but boot.wim as it should be" diff -r -x boot.wim -x etfsboot.com -x 'efisys*' "$work/$what.tree" "$work/$media"
  check "$what: its boot.wim has Kelvory in image 2, the boot image" has_kelvory "$work/$what.tree/sources/boot.wim" 2
  check "$what: and not in image 1" bash -c "! wimlib-imagex dir '$work/$what.tree/sources/boot.wim' 1 --path=/Windows/System32/kelvory.exe >/dev/null 2>&1"
  check "$what: the source is only read" [ "$(find "$work/$source" -type f -exec sha256sum {} + | sort)" = "$source_sum" ]
  check "$what: no work files or temporary names are left" no_leftovers
  check "$what: the messages name no work file" bash -c "! grep -q '$TMPDIR' '$work/$what.out'"
done <<'EOF'
installation media|install||install|install/EFI/Microsoft/Boot/efisys.bin|install/boot/etfsboot.com|signed by Windows Production PCA 2011
installation media, no prompt|install|--no-prompt|install|install/EFI/Microsoft/Boot/efisys_noprompt.bin|install/boot/etfsboot.com|signed by Windows Production PCA 2011
installation media, 2023 files from boot.wim|install|--bootex|install-bootex|efisys-x64-2023.bin|install/boot/etfsboot.com|signed by Windows UEFI CA 2023
copype working folder|copype||copype/media|copype/fwfiles/efisys.bin|copype/fwfiles/etfsboot.com|signed by Windows Production PCA 2011
copype media folder|copype/media||copype/media|copype/fwfiles/efisys.bin|copype/fwfiles/etfsboot.com|signed by Windows Production PCA 2011
copype folder, 2023 files from bootbins|copype|--bootex|copype-bootex|copype/bootbins/efisys_EX.bin|copype/fwfiles/etfsboot.com|signed by Windows UEFI CA 2023
ARM64 media|arm||arm|arm/EFI/Microsoft/Boot/efisys.bin|-|signed by Windows Production PCA 2011
ARM64 media, 2023 files|arm|--bootex|arm-bootex|efisys-aa64-2023.bin|-|signed by Windows UEFI CA 2023
media signed by another CA|other||other|other/EFI/Microsoft/Boot/efisys.bin|other/boot/etfsboot.com|signed by another CA (/CN=Example Tools CA)
unsigned media|unsigned||unsigned|unsigned/EFI/Microsoft/Boot/efisys.bin|unsigned/boot/etfsboot.com|unsigned
EOF
boot_image "$work/ARM64 media.iso" 1 1474560 >"$work/arm-efisys.bin"
check "the ARM64 ISO's EFI boot image holds EFI/BOOT/BOOTAA64.EFI" \
  cmp -s <(mtype -i "$work/arm-efisys.bin" ::/EFI/BOOT/BOOTAA64.EFI 2>/dev/null) "$work/aa64-2011.efi"
check "the volume label is KELVORY by default" grep -q 'Volume Id *: *KELVORY' <(xorriso -indev "$work/installation media.iso" -pvd_info 2>/dev/null)

# --- The USB stick, as a disk image ------------------------------------------------
# sound_fat32 <partition image>
sound_fat32() { fsck.fat -n -v "$1" 2>&1 | grep -q '32 bit entries' && fsck.fat -n "$1" >/dev/null 2>&1; }
while IFS='|' read -r what options expected_boot; do
  [ -n "$what" ] || continue
  disk=$work/$what.img
  status=0
  # shellcheck disable=SC2086
  "$media_script" $options --usb-image "$disk" "$work/install" >"$work/$what.out" 2>&1 || status=$?
  check "$what: written, with no ISO" [ "$status" -eq 0 -a -f "$disk" ]
  [ "$status" -eq 0 ] || { cat "$work/$what.out"; continue; }
  check "$what: one bootable FAT32 (LBA) partition 1 MiB in, and only one" \
    [ "$(sfdisk -d "$disk" 2>/dev/null | grep 'start=' | sed 's/.*: //; s/size= *[0-9]*, //')" = "start=        2048, type=c, bootable" ]
  dd if="$disk" of="$work/partition.img" bs=1M skip=1 status=none
  check "$what: the partition is a sound FAT32 file system" sound_fat32 "$work/partition.img"
  check "$what: whose boot sector counts the 2048 sectors before it as hidden" \
    [ "$(od -An -tu4 -j 28 -N 4 "$work/partition.img" | tr -d ' ')" = 2048 ]
  check "$what: it holds \\EFI\\Boot\\bootx64.efi, $expected_boot" cmp -s <(mtype -i "$work/partition.img" ::/EFI/Boot/bootx64.efi) "$work/$expected_boot"
  mcopy -n -i "$work/partition.img" ::/sources/boot.wim "$work/stick-boot.wim"
  check "$what: and the boot.wim with Kelvory at the boot index" has_kelvory "$work/stick-boot.wim" 2
  check "$what: the MBR's boot code is syslinux's" cmp -s <(head -c 440 "$disk") <(head -c 440 /usr/lib/syslinux/mbr/mbr.bin)
  check "$what: syslinux chains the media's bootmgr" \
    grep -qx ' *APPEND fs ntldr=/bootmgr' <(mtype -i "$work/partition.img" ::/syslinux/syslinux.cfg)
  check "$what: with its loader and chain.c32 on the partition" \
    mdir -a -i "$work/partition.img" ::/syslinux/ldlinux.sys ::/syslinux/ldlinux.c32 ::/syslinux/chain.c32 >/dev/null
  check "$what: no work files or temporary names are left" no_leftovers
done <<'EOF'
stick|--label Tools-2026|x64-2011.efi
stick with the 2023 files|--bootex|x64-2023.efi
EOF
check "the stick's label is the first 11 characters of --label" \
  [ "$(dd if="$work/stick.img" bs=512 skip=2048 count=1 status=none | dd bs=1 skip=71 count=11 status=none)" = TOOLS-2026\  ]

# --- Refusals: one line, nothing written -------------------------------------------
mkdir -p "$work/no-boot-wim" "$work/no-efi"
cp -r "$work/install/boot" "$work/install/EFI" "$work/no-boot-wim/"
cp -r "$work/install/sources" "$work/install/boot" "$work/no-efi/"
# bad_media <name> <file in the media> <content file>: installation media with
# that one file replaced.
bad_media() { cp -r "$work/install" "$work/$1"; cp "$3" "$work/$1/$2"; }
head -c 65536 /dev/urandom >"$work/random.bin"
mkfs.fat -C "$work/empty-fat.bin" 1440 >/dev/null
efi_program "$work/aa64-unsigned.efi" aa64
efi_image "$work/efisys-wrong-machine.bin" "$work/aa64-unsigned.efi" BOOTX64.EFI
cp "$work/x64-2011.efi" "$work/console.efi"
printf '\x03\x00' | dd of="$work/console.efi" bs=1 seek=$(( $(od -An -tu4 -j 60 -N 4 "$work/console.efi" | tr -d ' ') + 24 + 68 )) conv=notrunc status=none
: >"$work/empty"
head -c 4096 /dev/zero >"$work/zeros"
bad_media random-efi EFI/Microsoft/Boot/efisys.bin "$work/random.bin"
bad_media empty-efi EFI/Microsoft/Boot/efisys.bin "$work/empty-fat.bin"
bad_media arm-in-x64 EFI/Microsoft/Boot/efisys.bin "$work/efisys-wrong-machine.bin"
bad_media console-boot EFI/Boot/bootx64.efi "$work/console.efi"
bad_media empty-bios boot/etfsboot.com "$work/empty"
bad_media zero-bios boot/etfsboot.com "$work/zeros"
bad_media mixed EFI/Microsoft/Boot/efisys.bin "$work/efisys-x64-2023.bin"
cp -r "$work/install" "$work/big"
truncate -s 4G "$work/big/sources/install.wim"
cp -r "$work/install" "$work/no-ex"
wimlib-imagex capture "$work/setup" "$work/no-ex/sources/boot.wim" WinPE >/dev/null
wimlib-imagex append "$work/setup" "$work/no-ex/sources/boot.wim" Setup --boot >/dev/null
echo "someone's ISO" >"$work/taken.iso"
printf '[prog1]\r\nexe=X:\\Tools\\gone.exe\r\n' >"$work/missing-program.ini"
while IFS='|' read -r what source output options message; do
  [ -n "$what" ] || continue
  before=$( [ -f "$work/$output" ] && sha256sum <"$work/$output" || echo absent)
  status=0
  options=${options//WORK/$work}
  # shellcheck disable=SC2086 # the table's options are split on purpose
  "$media_script" $options "$work/$source" ${output:+"$work/$output"} >"$work/refused.out" 2>"$work/refused.err" || status=$?
  after=$( [ -f "$work/$output" ] && sha256sum <"$work/$output" || echo absent)
  says() { [ "$status" -ne 0 ] && head -n 1 "$work/refused.err" | grep -q -- "$message"; }
  one_line() { [ "$(wc -l <"$work/refused.err")" -eq 1 ] || { [ "$(wc -l <"$work/refused.err")" -eq 2 ] && sed -n 2p "$work/refused.err" | grep -q '^  ('; }; }
  check "$what: refused in a line that says so" says
  check "$what: with a tool's words at most as a second line" one_line
  says && one_line || cat "$work/refused.err"
  check "$what: nothing written, nothing left" bash -c "[ '$after' = '$before' ] && [ ! -e '$work/x.img' ]"
  check "$what: no work files or temporary names are left" no_leftovers
done <<'EOF'
no boot.wim|no-boot-wim|none1.iso||has no sources/boot.wim
no EFI boot image|no-efi|none2.iso||has no EFI boot image
an EFI image of random bytes|random-efi|none.iso||is no FAT image
an EFI image without BOOTX64.EFI|empty-efi|none.iso||holds no EFI/BOOT/BOOTX64.EFI
an ARM64 program in x64 media|arm-in-x64|none.iso||machine 0xaa64, not for x64 (0x8664)
a stick's boot program that is no EFI application|console-boot|none.iso|--usb-image WORK/x.img|is not an EFI application (subsystem 3, not 10)
an empty BIOS image|empty-bios|none.iso||etfsboot.com is empty
a BIOS image of zeros|zero-bios|none.iso||etfsboot.com holds only zeros
mixed signers|mixed|none.iso||mixed signers
--bootex without the 2023 files|no-ex|none.iso|--bootex|the 2023-signed files are not there
--no-prompt without efisys_noprompt.bin|copype|none.iso|--no-prompt|no efisys_noprompt.bin (in efi/microsoft/boot, or in copype's fwfiles)
an install.wim of 4 GiB, before any ISO|big|none.iso|--usb-image WORK/x.img|install.wim is 4 GiB or larger.*copy the media.*install\*.swm
an output that exists|install|taken.iso||already exists
the same file twice|install|x.img|--usb-image WORK/x.img|named for both the ISO and the stick image
an output of -|install||--usb-image -|the stick image is -
an output in a missing folder|install|missing/x.iso||missing: no such folder
an output inside the source|install|install/x.iso||lies inside the source
a missing source folder|gone|none.iso||gone: no such folder
nothing to write|install|||nothing to write
a label that no media hold|install|none.iso|--label a.b|--label a.b: use 1 to 32
a device that is no block device|install|none3.iso|--device WORK/taken.iso|not a block device
a program missing, with --strict|install|none4.iso|--strict --ini WORK/missing-program.ini|not in image 2 (--strict): nothing was written
EOF

# --- Output you can trust ------------------------------------------------------------
# Interrupted while xorriso writes (media with a large file, so that it writes
# for a while), nothing is left at the final name and no work files anywhere.
# SIGKILL cannot be answered: it leaves the temporary name, which the next run
# on that output replaces.
cp -r "$work/install" "$work/large"
head -c 300M /dev/zero >"$work/large/sources/install.wim"
# A command started in the background ignores SIGINT, unless env restores it
# as a terminal's Ctrl-C finds it.
for signal in INT TERM HUP; do
  iso=$work/interrupted-$signal.iso
  env --default-signal=INT "$media_script" "$work/large" "$iso" >"$work/interrupted-$signal.out" 2>&1 &
  pid=$!
  partial=$work/.interrupted-$signal.iso.partial
  for _ in $(seq 600); do
    [ "$(stat -c %s "$partial" 2>/dev/null || echo 0)" -gt 1048576 ] && break
    sleep 0.05
  done
  writing=$(stat -c %s "$partial" 2>/dev/null || echo 0)
  kill -"$signal" "$pid"
  status=0; wait "$pid" || status=$?
  check "SIG$signal while xorriso writes the ISO ($writing bytes so far): the run fails" [ "$status" -ne 0 -a "$writing" -gt 0 ]
  check "SIG$signal: nothing at the final name, no temporary name, no work files" \
    bash -c "[ ! -e '$iso' ] && [ ! -e '$partial' ] && [ -z \"\$(ls -A '$TMPDIR')\" ]"
  check "SIG$signal: it says so" grep -q "interrupted: nothing was written at $iso" "$work/interrupted-$signal.out"
  pgrep -f "$partial" >/dev/null && fail "SIG$signal: xorriso still runs"
done

iso=$work/killed.iso partial=$work/.killed.iso.partial
"$media_script" "$work/large" "$iso" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 600); do
  [ "$(stat -c %s "$partial" 2>/dev/null || echo 0)" -gt 1048576 ] && break
  sleep 0.05
done
kill -KILL "$pid"; { wait "$pid"; } 2>/dev/null || true
# Its xorriso, left behind, ends of itself.
while pgrep -f "$partial" >/dev/null; do sleep 0.2; done
check "SIGKILL: nothing at the final name, only the temporary name" [ ! -e "$iso" -a -f "$partial" ]
status=0
"$media_script" "$work/large" "$iso" >/dev/null 2>&1 || status=$?
check "SIGKILL: the next run on that output writes it and leaves no temporary name" [ "$status" -eq 0 -a -f "$iso" -a ! -e "$partial" ]
# What the killed run had in TMPDIR stays there too; it goes here by hand.
rm -rf "$iso" "${TMPDIR:?}"/*

# Two runs on one output at once: one is refused, the other's ISO verifies.
"$media_script" "$work/large" "$work/twice.iso" >"$work/twice-1.out" 2>&1 & first=$!
"$media_script" "$work/large" "$work/twice.iso" >"$work/twice-2.out" 2>&1 & second=$!
s1=0 s2=0; wait "$first" || s1=$?; wait "$second" || s2=$?
check "two runs on one output: one succeeds, the other is refused" [ $((s1 == 0)) -ne $((s2 == 0)) ]
check "the refused one says why" grep -qh 'being written by another run\|already exists' "$work/twice-1.out" "$work/twice-2.out"
osirrox -indev "$work/twice.iso" -extract /sources/boot.wim "$work/twice-boot.wim" >/dev/null 2>&1
check "the ISO's boot.wim verifies (wimlib-imagex verify)" wimlib-imagex verify "$work/twice-boot.wim" >"$work/verify.log" 2>&1
rm -f "$work/large/sources/install.wim" "$work/twice.iso" "$work"/interrupted-*.iso

if [ "$(id -u)" -ne 0 ] || ! mkdir -p "$work/small" || ! mount -t tmpfs -o size=40M tmpfs "$work/small" 2>/dev/null; then
  echo "skipped: the full file system, the mounted device and the mounted ISO need root (mount, losetup)"
  finish
  exit
fi
loops=() mounts=("$work/small")
# shellcheck disable=SC2317 # called by the trap
release() {
  for m in "${mounts[@]}"; do umount "$m" 2>/dev/null || true; done
  for l in ${loops[@]+"${loops[@]}"}; do losetup -d "$l" 2>/dev/null || true; done
}
trap release EXIT

# A full file system: the stick image does not fit, and none is left.
head -c 60M /dev/urandom >"$work/large/sources/install.wim"
status=0
"$media_script" --usb-image "$work/small/stick.img" "$work/large" >"$work/full.out" 2>&1 || status=$?
check "a full file system: refused, and the message says the file system is full" \
  bash -c "[ $status -ne 0 ] && grep -q 'the file system of $work/small/stick.img is full' '$work/full.out'"
check "a full file system: no stick image, no temporary name, no work files" \
  bash -c "[ -z \"\$(ls -A '$work/small')\" ] && [ -z \"\$(ls -A '$TMPDIR')\" ]"
rm -f "$work/large/sources/install.wim"

# The disk of the running system, where it is a block device. Without a
# terminal the run could never be confirmed, whatever the check says.
system=$(findmnt -no SOURCE / 2>/dev/null | xargs -r lsblk -nlpso NAME,TYPE 2>/dev/null | awk '$2 == "disk" { print $1; exit }' || true)
if [ -n "$system" ]; then
  status=0
  setsid "$media_script" --device "$system" "$work/install" </dev/null >"$work/device.out" 2>&1 || status=$?
  check "--device on the running system's disk ($system): refused before anything else" \
    bash -c "[ $status -ne 0 ] && [ \$(wc -l <'$work/device.out') -eq 1 ] && grep -q 'holds the running system' '$work/device.out'"
else
  echo "skipped: --device on the running system's disk (/ is not on a block device here)"
fi

# A device: mounted, unmounted without a terminal, too small.
truncate -s 200M "$work/device.img"
loop=$(losetup -f --show "$work/device.img"); loops+=("$loop")
mkfs.ext4 -q "$loop"
mkdir -p "$work/mnt"; mount "$loop" "$work/mnt"; mounts=("$work/mnt" "${mounts[@]}")
echo "a technician's file" >"$work/mnt/keep.txt"; sync
status=0
"$media_script" --device "$loop" "$work/install" </dev/null >"$work/device.out" 2>&1 || status=$?
check "--device on a mounted file system: refused in one line before asking" \
  bash -c "[ $status -ne 0 ] && [ \$(wc -l <'$work/device.out') -eq 1 ] && grep -q 'is mounted on $work/mnt' '$work/device.out'"
umount "$work/mnt"
check "and the file system on it is intact" bash -c "fsck.ext4 -n '$loop' >/dev/null 2>&1 && debugfs -R 'cat /keep.txt' '$loop' 2>/dev/null | grep -q \"a technician's file\""
sum=$(sha256sum <"$loop")
status=0
setsid "$media_script" --device "$loop" "$work/install" </dev/null >"$work/device.out" 2>&1 || status=$?
check "--device with no terminal to ask on: refused in one line, the device unchanged" \
  bash -c "[ $status -ne 0 ] && [ \$(wc -l <\"\$(echo '$work/device.out')\" ) -ge 1 ] && grep -q 'no terminal to ask on' '$work/device.out' && [ \"\$(sha256sum <'$loop')\" = '$sum' ]"
# Confirmed on a terminal (script(1) gives it one): the wrong name writes
# nothing; the device's own name writes a stick whose partition fills it.
confirm() { printf '%s\n' "$1" | script -qec "$media_script --device $loop $work/install ${2:-}" /dev/null >"$work/device.out" 2>&1; }
status=0; confirm /dev/sdz "$work/unconfirmed.iso" || status=$?
check "--device shows the device's size and partitions before it asks" \
  bash -c "grep -q '^$loop: .*, 200M' '$work/device.out' && grep -q 'NAME *SIZE *TYPE *FSTYPE' '$work/device.out'"
check "--device answered with another name: refused, the device unchanged, no ISO made" \
  bash -c "[ $status -ne 0 ] && grep -q 'not confirmed' '$work/device.out' && [ \"\$(sha256sum <'$loop')\" = '$sum' ] && [ ! -e '$work/unconfirmed.iso' ] && [ -z \"\$(ls -A '$TMPDIR')\" ]"
status=0; confirm "$loop" || status=$?
check "--device confirmed: the stick is written" [ "$status" -eq 0 ]
check "its one partition fills the device from 1 MiB on" \
  [ "$(sfdisk -d "$loop" 2>/dev/null | grep 'start=' | sed 's/.*: //')" = "start=        2048, size=      407552, type=c, bootable" ]
dd if="$loop" of="$work/partition.img" bs=1M skip=1 status=none
check "a sound FAT32 file system with the media's boot program" \
  bash -c "fsck.fat -n '$work/partition.img' >/dev/null 2>&1 && cmp -s <(mtype -i '$work/partition.img' ::/EFI/Boot/bootx64.efi) '$work/x64-2011.efi'"
truncate -s 16M "$work/tiny.img"
tiny=$(losetup -f --show "$work/tiny.img"); loops+=("$tiny")
status=0
"$media_script" --device "$tiny" "$work/install" </dev/null >"$work/device.out" 2>&1 || status=$?
check "--device on a stick too small: refused" bash -c "[ $status -ne 0 ] && grep -q 'is too small' '$work/device.out'"

# Mounted media as the source: the label of their file system is the default.
# (An ISO 9660 or FAT mount would do the same; this kernel may lack both.)
truncate -s 64M "$work/labelled.img"
mkfs.ext4 -q -L CCCOMA_X64FRE -d "$work/install" "$work/labelled.img"
mkdir -p "$work/labelled"
mount -o loop,ro "$work/labelled.img" "$work/labelled"; mounts=("$work/labelled" "${mounts[@]}")
"$media_script" "$work/labelled" "$work/relabelled.iso" >/dev/null 2>&1 || true
check "mounted media's label is the new ISO's label" \
  grep -q 'Volume Id *: *CCCOMA_X64FRE$' <(xorriso -indev "$work/relabelled.iso" -pvd_info 2>/dev/null)

finish
