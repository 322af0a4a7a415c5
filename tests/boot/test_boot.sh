#!/usr/bin/env bash
# What scripts/winpe-media makes, booted by QEMU's firmware: SeaBIOS for BIOS,
# OVMF for UEFI, and OVMF with Secure Boot enforced: with Debian's snakeoil key
# in db, and as an old machine that trusts the 2011 CA alone and as one that
# has it revoked. The media are stand-in trees (standins.sh) whose boot
# programs are real and write a marker naming their file to the serial port,
# so each row proves which file the firmware started from which drive.
# Controls show that
# a row can fail: an ISO without a UEFI entry starts nothing on OVMF, a plain
# ISO read as a disk starts nothing once its El Torito record is gone, and
# 2011-signed media are refused under Secure Boot.
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
media_script=$root/scripts/winpe-media
work=${KELVORY_BOOT_WORK:?KELVORY_BOOT_WORK names a scratch folder}/$(basename "$0" .sh)
rm -rf "$work"; mkdir -p "$work"
for tool in qemu-system-x86_64 x86_64-w64-mingw32-gcc-posix as objcopy openssl sbsign sbverify cert-to-efi-sig-list sign-efi-sig-list mkfs.fat mcopy syslinux xorriso wimlib-imagex; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: scripts/setup installs it"; exit 1; }
done
for file in "$ovmf_code" "$ovmf_secure_code" "$ovmf_secure_vars" /usr/share/ovmf/PkKek-1-snakeoil.key; do
  [ -f "$file" ] || { echo "$file is missing: scripts/setup installs Debian's ovmf"; exit 1; }
done

make_standin_media "$work/install"
make_standin_media "$work/adk" --adk

# --- The media, made by the script --------------------------------------------
# name|source|options: writes name.iso and name.img (the stick) from the source.
while IFS='|' read -r name source options; do
  [ -n "$name" ] || continue
  status=0
  # shellcheck disable=SC2086 # the table's options are split on purpose
  "$media_script" $options --usb-image "$work/$name.img" "$work/$source" "$work/$name.iso" >"$work/$name.out" 2>&1 || status=$?
  check "$name: winpe-media writes the ISO and the stick" [ "$status" -eq 0 -a -f "$work/$name.iso" -a -f "$work/$name.img" ]
  [ "$status" -eq 0 ] || sed 's/^/  | /' "$work/$name.out"
done <<'EOF'
default|install|
bootex|install|--bootex
noprompt|install|--no-prompt
bootex-noprompt|install|--bootex --no-prompt
adk|adk|
adk-media|adk/media|
adk-bootex|adk|--bootex
EOF

# The signer line names the CA of the boot managers the media got.
signer_line() { grep -m1 '^Secure Boot: ' "$work/$1.out"; }
while IFS='|' read -r name signer other; do
  [ -n "$name" ] || continue
  check "$name: the signer line names $signer alone" \
    bash -c "grep -qF 'signed by $signer' <<<\"\$1\" && ! grep -qF '$other' <<<\"\$1\"" _ "$(signer_line "$name")"
done <<'EOF'
default|Windows Production PCA 2011|Windows UEFI CA 2023
bootex|Windows UEFI CA 2023|Windows Production PCA 2011
adk|Windows Production PCA 2011|Windows UEFI CA 2023
adk-bootex|Windows UEFI CA 2023|Windows Production PCA 2011
EOF

# A dd-written ISO as a disk: OVMF also reads El Torito from disks, which many
# PCs do not, so the copies lose their El Torito boot record (sector 17) and
# only the ISO's partition table can lead to the EFI boot image.
without_el_torito() {
  local record
  # The record's system identifier starts at its eighth byte.
  record=$(dd if="$work/$1.iso" bs=2048 skip=17 count=1 status=none | head -c 16 | tail -c 9)
  [ "$record" = "EL TORITO" ] || { echo "$1.iso: no El Torito boot record in sector 17"; return 1; }
  cp --sparse=always "$work/$1.iso" "$work/$1.dd.iso" &&
    dd if=/dev/zero of="$work/$1.dd.iso" bs=2048 seek=17 count=1 conv=notrunc status=none
}
for name in default bootex; do
  [ ! -f "$work/$name.iso" ] || without_el_torito "$name" || fail "$name.iso has its El Torito record in sector 17"
done

# The controls: xorriso's own ISO of the media with a BIOS entry only, and one
# with both entries but no partition table, read as a disk.
xorriso -as mkisofs -o "$work/bios-only.iso" -R -J -b boot/etfsboot.com -no-emul-boot -boot-load-size 8 \
  "$work/install" >/dev/null 2>&1
xorriso -as mkisofs -o "$work/plain.iso" -R -J -b boot/etfsboot.com -no-emul-boot -boot-load-size 8 \
  -eltorito-alt-boot -e efi/microsoft/boot/efisys.bin -no-emul-boot "$work/install" >/dev/null 2>&1
without_el_torito plain || fail "plain.iso has its El Torito record in sector 17"

# Two more machines under Secure Boot (secure_boot_vars): an old one whose db
# holds the 2011 CA alone, and one with the 2011 CA revoked in dbx.
for machine in old revoked; do
  ( secure_boot_vars "$work/vars-$machine.fd" "$machine" "$work/install.keys" >"$work/vars-$machine.out" 2>&1 ) &
done
wait
for machine in old revoked; do
  check "the $machine machine's Secure Boot keys are written" [ -f "$work/vars-$machine.fd" ]
  [ -f "$work/vars-$machine.fd" ] || sed 's/^/  | /' "$work/vars-$machine.out"
done

# --- The boot table ------------------------------------------------------------
# what|media|firmware|attached as|stand-in|expected|seconds
#   firmware: seabios, ovmf, ovmf-secure (the snakeoil key in db, which issued
#   the 2023 CA), ovmf-secure/old or ovmf-secure/revoked (the machines above);
#   expected: boots, that stand-in's marker shows; denied, it does not and the
#   firmware says "Access Denied"; nothing, no stand-in runs at all and OVMF
#   gives up (SeaBIOS says nothing on the serial port: there, none runs within
#   the row's seconds).
rows=()
while IFS= read -r row; do [ -n "$row" ] && rows+=("$row"); done <<'EOF'
the ISO on BIOS|default.iso|seabios|cd|boot/etfsboot.com|boots|60
the ISO on UEFI|default.iso|ovmf|cd|efisys.bin|boots|120
--no-prompt: the ISO on UEFI|noprompt.iso|ovmf|cd|efisys_noprompt.bin|boots|120
the stick on UEFI as a USB disk|default.img|ovmf|usb|efi/boot/bootx64.efi|boots|120
the stick on UEFI as a SATA disk|default.img|ovmf|disk|efi/boot/bootx64.efi|boots|120
the stick on BIOS as a USB disk|default.img|seabios|usb|bootmgr|boots|60
the stick on BIOS as an IDE disk|default.img|seabios|disk|bootmgr|boots|60
the dd-written ISO on UEFI as a USB disk|default.dd.iso|ovmf|usb|efisys.bin|boots|120
the dd-written ISO on UEFI as a SATA disk|default.dd.iso|ovmf|disk|efisys.bin|boots|120
the ADK folder's ISO on BIOS|adk.iso|seabios|cd|fwfiles/etfsboot.com|boots|60
the ADK folder's ISO on UEFI|adk.iso|ovmf|cd|fwfiles/efisys.bin|boots|120
the ADK folder's stick on UEFI|adk.img|ovmf|usb|efi/boot/bootx64.efi|boots|120
the ADK media folder's ISO on UEFI|adk-media.iso|ovmf|cd|fwfiles/efisys.bin|boots|120
--bootex: the ISO under Secure Boot|bootex.iso|ovmf-secure|cd|efisys_EX.bin|boots|120
--bootex --no-prompt: the ISO under Secure Boot|bootex-noprompt.iso|ovmf-secure|cd|efisys_noprompt_EX.bin|boots|120
--bootex: the stick under Secure Boot as a USB disk|bootex.img|ovmf-secure|usb|bootmgfw_EX.efi|boots|120
--bootex: the dd-written ISO under Secure Boot as a disk|bootex.dd.iso|ovmf-secure|disk|efisys_EX.bin|boots|120
--bootex: the ADK folder's ISO under Secure Boot|adk-bootex.iso|ovmf-secure|cd|fwfiles/efisys_EX.bin|boots|120
--bootex: the ADK folder's stick under Secure Boot|adk-bootex.img|ovmf-secure|usb|bootbins/bootmgfw_EX.efi|boots|120
--bootex: the ISO still on BIOS|bootex.iso|seabios|cd|boot/etfsboot.com|boots|60
--bootex: the stick still on BIOS|bootex.img|seabios|usb|bootmgr|boots|60
default, 2011-signed: the ISO under Secure Boot|default.iso|ovmf-secure|cd|efisys.bin|denied|120
default, 2011-signed: the stick under Secure Boot|default.img|ovmf-secure|usb|efi/boot/bootx64.efi|denied|120
an old machine: the default ISO|default.iso|ovmf-secure/old|cd|efisys.bin|boots|120
an old machine: the default stick|default.img|ovmf-secure/old|usb|efi/boot/bootx64.efi|boots|120
an old machine: the --bootex ISO|bootex.iso|ovmf-secure/old|cd|efisys_EX.bin|denied|120
2011 revoked: the default ISO|default.iso|ovmf-secure/revoked|cd|efisys.bin|denied|120
2011 revoked: the default stick|default.img|ovmf-secure/revoked|usb|efi/boot/bootx64.efi|denied|120
2011 revoked: the --bootex ISO|bootex.iso|ovmf-secure/revoked|cd|efisys_EX.bin|boots|120
2011 revoked: the --bootex stick|bootex.img|ovmf-secure/revoked|usb|bootmgfw_EX.efi|boots|120
control: an ISO without a UEFI entry on UEFI|bios-only.iso|ovmf|cd|efisys.bin|nothing|120
control: a plain ISO without El Torito as a disk|plain.dd.iso|ovmf|disk|efisys.bin|nothing|120
the dd-written ISO on BIOS as a disk|default.dd.iso|seabios|disk|boot/etfsboot.com|nothing|15
EOF

# Two machines at a time, each with a log and a status of its own.
mkdir -p "$work/boots"
started=$SECONDS
for i in "${!rows[@]}"; do
  IFS='|' read -r what media firmware as standin expected seconds <<<"${rows[$i]}"
  vars=""
  [ "$firmware" = "${firmware#*/}" ] || vars=$work/vars-${firmware#*/}.fd
  if [ ! -f "$work/$media" ] || { [ -n "$vars" ] && [ ! -f "$vars" ]; }; then
    echo missing >"$work/boots/$i.status"
    continue
  fi
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do wait -n || true; done
  (
    status=0
    boot_vars=$vars boot_run "${firmware%/*}" "$work/$media" "$as" "$(standin_marker "$standin")" "$seconds" "$work/boots/$i.serial" || status=$?
    echo $status >"$work/boots/$i.status"
  ) &
done
wait
echo "the boot table took $((SECONDS - started)) s for ${#rows[@]} boots"

reported=$failures
for i in "${!rows[@]}"; do
  IFS='|' read -r what media firmware as standin expected seconds <<<"${rows[$i]}"
  status=$(cat "$work/boots/$i.status")
  log=$work/boots/$i.serial
  if [ "$status" = missing ]; then
    fail "$what: no $media or no variable store to boot"
    reported=$failures
    continue
  fi
  case $expected in
    boots)
      # An EFI stand-in also says whether the firmware enforced signatures.
      case $firmware in
        ovmf) secure="secure boot: off" ;;
        ovmf-secure*) secure="secure boot: on" ;;
        *) secure="" ;;
      esac
      check "$what: \"$(standin_marker "$standin")\"${secure:+, \"$secure\"}" \
        bash -c "[ $status -eq 0 ] && { [ -z '$secure' ] || grep -qx '$secure' '$log'; }" ;;
    denied) check "$what: refused by the firmware (Access Denied)" \
              bash -c "[ $status -ne 0 ] && grep -q 'Access Denied' '$log'" ;;
    nothing) gives_up=", OVMF gives up"; [ "$firmware" != seabios ] || gives_up=""
             check "$what: no stand-in runs$gives_up" \
              bash -c "! grep -q '^stand-in ran: ' '$log' && { [ $firmware = seabios ] || grep -qE '$ovmf_gave_up' '$log'; }" ;;
  esac
  [ "$failures" -eq "$reported" ] || { echo "  serial log of $media on $firmware as $as:"; tail -n 8 "$log" | cat -v | sed 's/^/  | /'; }
  reported=$failures
done

# bootmgr is handed over as Windows' FAT32 boot sector hands it over: the
# stick's drive in DL and the partition's own boot sector at 0000:7C00, whose
# hidden sectors are the partition's start, 2048.
for i in "${!rows[@]}"; do
  IFS='|' read -r what media firmware as standin expected seconds <<<"${rows[$i]}"
  if [ "$standin" != bootmgr ] || [ ! -f "$work/boots/$i.serial" ]; then continue; fi
  check "$what: bootmgr gets drive 80h and the FAT32 boot sector, 2048 hidden sectors" \
    grep -qx 'handed over: drive 80, FAT32   , hidden 00000800' "$work/boots/$i.serial"
done

# --- Broken boot images are refused before anything is written ----------------
# what|file of the media replaced|its new content|the script's options
broken() {
  rm -rf "$work/broken"
  cp -r "$work/install" "$work/broken"
  case $2 in
    random) head -c 65536 /dev/urandom >"$work/broken/$1" ;;
    empty) : >"$work/broken/$1" ;;
    no-efi-app) # a FAT image whose BOOTX64.EFI is the BIOS stand-in
      rm -f "$work/broken/$1"
      mkfs.fat -C "$work/broken/$1" 1440 >/dev/null && mmd -i "$work/broken/$1" ::/EFI ::/EFI/BOOT &&
        mcopy -i "$work/broken/$1" "$work/install/boot/etfsboot.com" ::/EFI/BOOT/BOOTX64.EFI ;;
    2023) standin_efi "$work/broken/$1" "$1" 2023 "$work/install.keys" ;;
  esac
}
while IFS='|' read -r what file content options; do
  [ -n "$what" ] || continue
  broken "$file" "$content"
  options=${options//REFUSED/$work/refused.img}
  status=0
  # shellcheck disable=SC2086 # the table's options are split on purpose
  "$media_script" $options "$work/broken" "$work/refused.iso" >"$work/refused.out" 2>&1 || status=$?
  check "$what: refused" [ "$status" -ne 0 ]
  check "$what: nothing written" bash -c "[ -z \"\$(find '$work' -maxdepth 1 -name '*refused*' ! -name refused.out)\" ]"
  [ "$status" -ne 0 ] || sed 's/^/  | /' "$work/refused.out"
  find "$work" -maxdepth 1 -name '*refused*' ! -name refused.out -exec rm -rf {} +
done <<'EOF'
an EFI boot image of random bytes|efi/microsoft/boot/efisys.bin|random|
an EFI boot image whose BOOTX64.EFI is no EFI application|efi/microsoft/boot/efisys.bin|no-efi-app|
an empty BIOS boot image|boot/etfsboot.com|empty|
a stick's bootx64.efi of random bytes|efi/boot/bootx64.efi|random|--usb-image REFUSED
mixed signers: a 2023 bootx64.efi beside a 2011 efisys.bin|efi/boot/bootx64.efi|2023|--usb-image REFUSED
EOF

finish
