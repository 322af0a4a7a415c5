# Stand-in boot programs and the media trees made of them, for the tests that
# boot what scripts/winpe-media makes. Source this file; it needs binutils (as,
# objcopy), the MinGW-w64 C compiler, openssl, sbsigntool, dosfstools, mtools
# and wimtools.
#
# Every stand-in is a real boot program that writes one line to the first
# serial port, "stand-in ran: NAME", where NAME names the file it stands for,
# so a boot shows which file the firmware started. The EFI ones then write
# "secure boot: on" or "secure boot: off" and power the machine off; the BIOS
# ones halt (bootmgr after saying what it was handed, standin_bios.S).
#
# The stand-ins are built here, when a test makes its tree, rather than as
# targets of the build: each file of a tree needs a copy with its own marker
# and its own signature, and a test that only sources this file gets them
# without a build tree.

standins_source=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# standin_marker NAME: the line a stand-in for NAME writes.
standin_marker() { printf 'stand-in ran: %s\n' "$1"; }

# standin_bios OUT NAME [SIZE]: a 16-bit stand-in of SIZE bytes, its marker in
# its last bytes, so that it shows only when the BIOS loaded the whole image
# (the El Torito image, 4096 bytes as etfsboot.com, must be loaded whole). With
# SIZE "handover" it is a stand-in bootmgr, which also writes what it was
# handed (standin_bios.S).
standin_bios() {
  local out=$1 name=$2 size=${3:-} build options=() marker
  [ "$size" != handover ] || { options=(--defsym HANDOVER=1); size=""; }
  marker=$(standin_marker "$name")
  build=$(mktemp -d)
  { cat "$standins_source/standin_bios.S"
    # The marker and its two line ends and NUL.
    [ -z "$size" ] || printf '        .org %d\n' $((size - ${#marker} - 5))
    printf 'marker:\n        .asciz "\\r\\n%s\\r\\n"\nmarker_end:\n' "$marker"
  } >"$build/standin.S"
  as --32 "${options[@]}" -o "$build/standin.o" "$build/standin.S" &&
    objcopy -O binary -j .text "$build/standin.o" "$out" &&
    { [ -z "$size" ] || [ "$(stat -c %s "$out")" -eq "$size" ]; }
  local status=$?
  rm -rf "$build"
  return $status
}

# standin_keys DIR: two signers made afresh, each a leaf "Microsoft Windows"
# under a CA named as one of Microsoft's:
#   DIR/2023.{key,pem,chain.pem}: under "Windows UEFI CA 2023", which the
#     snakeoil key of Debian's ovmf issued, so OVMF_VARS_4M.snakeoil.fd's db
#     trusts it;
#   DIR/2011.{key,pem,chain.pem}: under "Microsoft Windows Production PCA
#     2011", a self-signed CA of our own that no firmware trusts.
standin_keys() {
  local dir=$1
  [ -f "$dir/2011.pem" ] && [ -f "$dir/2023.pem" ] && return 0
  mkdir -p "$dir"
  printf '%s\n' 'basicConstraints=critical,CA:TRUE' 'keyUsage=critical,keyCertSign,cRLSign,digitalSignature' \
    'subjectKeyIdentifier=hash' 'authorityKeyIdentifier=keyid' >"$dir/ca.ext"
  printf '%s\n' 'basicConstraints=CA:FALSE' 'keyUsage=critical,digitalSignature' 'extendedKeyUsage=codeSigning' >"$dir/leaf.ext"
  local quiet="$dir/openssl.log"
  {
    openssl req -new -newkey rsa:2048 -nodes -keyout "$dir/ca2023.key" \
      -subj "/C=US/O=Microsoft Corporation/CN=Windows UEFI CA 2023" -out "$dir/ca2023.csr" &&
    openssl x509 -req -in "$dir/ca2023.csr" -days 3650 -set_serial 0x2023 -extfile "$dir/ca.ext" \
      -CA /usr/share/ovmf/PkKek-1-snakeoil.pem -CAkey /usr/share/ovmf/PkKek-1-snakeoil.key -passin pass:snakeoil \
      -out "$dir/ca2023.pem" &&
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/ca2011.key" -days 3650 \
      -subj "/C=US/O=Microsoft Corporation/CN=Microsoft Windows Production PCA 2011" \
      -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign,digitalSignature \
      -out "$dir/ca2011.pem" &&
    for year in 2011 2023; do
      openssl req -new -newkey rsa:2048 -nodes -keyout "$dir/$year.key" \
        -subj "/C=US/O=Microsoft Corporation/CN=Microsoft Windows" -out "$dir/$year.csr" &&
      openssl x509 -req -in "$dir/$year.csr" -days 3650 -set_serial "0x$year"01 -extfile "$dir/leaf.ext" \
        -CA "$dir/ca$year.pem" -CAkey "$dir/ca$year.key" -out "$dir/$year.pem" &&
      cp "$dir/ca$year.pem" "$dir/$year.chain.pem" || return 1
    done
  } >"$quiet" 2>&1 || { cat "$quiet" >&2; return 1; }
}

# standin_efi OUT NAME [SIGNER KEYS]: an x64 EFI application (PE32+, machine
# 0x8664, subsystem 10), signed by SIGNER (2011 or 2023) of standin_keys KEYS,
# or unsigned.
standin_efi() {
  local out=$1 name=$2 signer=${3:-} keys=${4:-} build
  build=$(mktemp -d)
  x86_64-w64-mingw32-gcc-posix -std=c11 -Wall -Wextra -Os -s -nostdlib -ffreestanding -fno-stack-protector -mno-red-zone \
    -fno-asynchronous-unwind-tables -DMARKER="\"$(standin_marker "$name")\"" \
    -Wl,--subsystem,10 -e efi_main -o "$build/standin.efi" "$standins_source/standin_efi.c" || { rm -rf "$build"; return 1; }
  if [ -n "$signer" ]; then
    sbsign --key "$keys/$signer.key" --cert "$keys/$signer.pem" --addcert "$keys/$signer.chain.pem" \
      --output "$out" "$build/standin.efi" >"$build/sbsign.log" 2>&1 || { cat "$build/sbsign.log" >&2; rm -rf "$build"; return 1; }
  else
    cp "$build/standin.efi" "$out"
  fi
  rm -rf "$build"
}

# standin_efisys OUT NAME [SIGNER KEYS]: an El Torito EFI boot image as
# efisys.bin is one, a FAT image holding EFI/BOOT/BOOTX64.EFI, here a stand-in.
standin_efisys() {
  local out=$1 build
  build=$(mktemp -d)
  standin_efi "$build/BOOTX64.EFI" "${@:2}" &&
    mkfs.fat -C "$build/efisys.bin" 1440 >/dev/null &&
    mmd -i "$build/efisys.bin" ::/EFI ::/EFI/BOOT &&
    mcopy -i "$build/efisys.bin" "$build/BOOTX64.EFI" ::/EFI/BOOT/BOOTX64.EFI &&
    mv "$build/efisys.bin" "$out"
  local status=$?
  rm -rf "$build"
  return $status
}

# standin_image DIR: the files of a WinPE image that winpe-add and the ini check
# look at.
standin_image() {
  mkdir -p "$1/Windows/System32"
  head -c 4000 /dev/urandom >"$1/Windows/System32/cmd.exe"
}

# make_standin_media DIR [--adk]
#
# Installation media in DIR, their boot files stand-ins signed as 2011's:
#   boot/etfsboot.com, bootmgr (BIOS); efi/microsoft/boot/efisys.bin and
#   efisys_noprompt.bin (FAT images with EFI/BOOT/BOOTX64.EFI),
#   efi/boot/bootx64.efi, bootmgr.efi (EFI); efi/microsoft/boot/fonts/*.ttf;
#   sources/boot.wim with WinPE as image 1 and Setup as image 2, the boot
#   image; image 1 holds the 2023-signed files as media of April 2024 and
#   later do: Windows\Boot\EFI_EX\bootmgfw_EX.efi and bootmgr_EX.efi,
#   Windows\Boot\DVD_EX\EFI\en-US\efisys_EX.bin and efisys_noprompt_EX.bin,
#   Windows\Boot\FONTS_EX\*_EX.ttf.
# With --adk, an ADK working folder as copype makes it: media/ with the tree
# above less the El Torito images and with boot.wim's one image as the boot
# image, without the _EX files; fwfiles/ with etfsboot.com, efisys.bin,
# efisys_noprompt.bin, efisys_EX.bin and efisys_noprompt_EX.bin; bootbins/
# with bootmgfw_EX.efi and bootmgr_EX.efi.
#
# Each stand-in's marker names its file: "boot/etfsboot.com", "bootmgr",
# "efisys.bin", "efisys_noprompt.bin", "efi/boot/bootx64.efi", "bootmgr.efi",
# "bootmgfw_EX.efi", "bootmgr_EX.efi", "efisys_EX.bin",
# "efisys_noprompt_EX.bin"; in an ADK folder those of fwfiles/ and bootbins/
# are named with their folder ("fwfiles/efisys.bin", "bootbins/bootmgfw_EX.efi").
# The signers' keys lie in DIR.keys (standin_keys).
make_standin_media() {
  local dir=$1 adk=${2:-} keys=$1.keys media image1 fw="" bins=""
  [ -z "$adk" ] || [ "$adk" = --adk ] || { echo "make_standin_media: unknown option $adk" >&2; return 1; }
  standin_keys "$keys" || return 1
  if [ -n "$adk" ]; then
    media=$dir/media fw=fwfiles/ bins=bootbins/
    mkdir -p "$dir/fwfiles" "$dir/bootbins"
  else
    media=$dir
  fi
  mkdir -p "$media/boot" "$media/efi/microsoft/boot/fonts" "$media/efi/boot" "$media/sources"
  image1=$(mktemp -d)
  standin_image "$image1"

  local boot=$media/boot efiboot=$media/efi/microsoft/boot
  [ -z "$adk" ] || boot=$dir/fwfiles efiboot=$dir/fwfiles
  standin_bios "$boot/etfsboot.com" "${fw:-boot/}etfsboot.com" 4096 &&
    standin_bios "$media/bootmgr" bootmgr handover &&
    standin_efisys "$efiboot/efisys.bin" "${fw}efisys.bin" 2011 "$keys" &&
    standin_efisys "$efiboot/efisys_noprompt.bin" "${fw}efisys_noprompt.bin" 2011 "$keys" &&
    standin_efi "$media/efi/boot/bootx64.efi" efi/boot/bootx64.efi 2011 "$keys" &&
    standin_efi "$media/bootmgr.efi" bootmgr.efi 2011 "$keys" || return 1
  local font
  for font in segmono_boot wgl4_boot; do
    head -c 3000 /dev/urandom >"$media/efi/microsoft/boot/fonts/$font.ttf"
  done

  # The 2023-signed files: in an ADK folder beside the media, else in image 1.
  local ex=$image1/Windows/Boot exdvd exefi
  if [ -n "$adk" ]; then
    exefi=$dir/bootbins exdvd=$dir/fwfiles
  else
    exefi=$ex/EFI_EX exdvd=$ex/DVD_EX/EFI/en-US
    mkdir -p "$exefi" "$exdvd" "$ex/FONTS_EX"
    for font in segmono_boot wgl4_boot; do
      head -c 3000 /dev/urandom >"$ex/FONTS_EX/${font}_EX.ttf"
    done
  fi
  standin_efi "$exefi/bootmgfw_EX.efi" "${bins}bootmgfw_EX.efi" 2023 "$keys" &&
    standin_efi "$exefi/bootmgr_EX.efi" "${bins}bootmgr_EX.efi" 2023 "$keys" &&
    standin_efisys "$exdvd/efisys_EX.bin" "${fw}efisys_EX.bin" 2023 "$keys" &&
    standin_efisys "$exdvd/efisys_noprompt_EX.bin" "${fw}efisys_noprompt_EX.bin" 2023 "$keys" || return 1

  # As on the media, image 2 is Setup, the boot image; copype's boot.wim has
  # WinPE alone.
  local wim=$media/sources/boot.wim setup status
  setup=$(mktemp -d)
  standin_image "$setup"
  if [ -n "$adk" ]; then
    wimlib-imagex capture "$image1" "$wim" "Microsoft Windows PE (amd64)" --boot >/dev/null
  else
    wimlib-imagex capture "$image1" "$wim" "Microsoft Windows PE (x64)" >/dev/null &&
      wimlib-imagex append "$setup" "$wim" "Microsoft Windows Setup (x64)" --boot >/dev/null
  fi
  status=$?
  rm -rf "$image1" "$setup"
  return $status
}
