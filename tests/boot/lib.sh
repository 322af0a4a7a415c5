# Shared by the boot tests: QEMU's firmware booting media, watched through the
# first serial port, with the stand-in boot programs of standins.sh. Source it
# after tests/checks.sh. Besides what standins.sh needs: qemu-system-x86, ovmf,
# and for secure_boot_vars efitools.
#
# Every machine runs under TCG: OVMF fails under nested KVM ("KVM internal
# error ... emulation failure"), and so does syslinux on SeaBIOS, when it
# returns from protected mode.
source "$(dirname "${BASH_SOURCE[0]}")/standins.sh"

ovmf_code=/usr/share/OVMF/OVMF_CODE_4M.fd
ovmf_vars=/usr/share/OVMF/OVMF_VARS_4M.fd
# Secure Boot firmware, which needs SMM, and variables with Secure Boot on and
# the snakeoil key in PK, KEK and db.
ovmf_secure_code=/usr/share/OVMF/OVMF_CODE_4M.secboot.fd
ovmf_secure_vars=/usr/share/OVMF/OVMF_VARS_4M.snakeoil.fd

# What OVMF says on the serial console once no boot option of the media has
# started (an extended regular expression): it starts its built-in shell, the
# last option of a fresh variable store, or says that none is left. Under
# Secure Boot the shell is refused, and a kept store may list it before the
# media, so there only the last counts.
ovmf_gave_up='No bootable option or device was found|starting Boot[0-9A-F]+ "EFI Internal Shell"'
ovmf_secure_gave_up='No bootable option or device was found'


# boot_run FIRMWARE MEDIA AS MARKER TIMEOUT [LOG]
#   FIRMWARE: seabios, ovmf, or ovmf-secure (Secure Boot enforced);
#   AS: cd (an ISO as a CD-ROM drive), usb (a disk image as a USB stick on
#   an xHCI controller), or disk (a disk image as the machine's disk: SATA on
#   OVMF's q35 machine, IDE on SeaBIOS's pc machine).
# ovmf-secure starts from a copy of the variable store boot_vars names (by
# default Debian's snakeoil one), and leaves the store as the boot left it in
# boot_vars_kept, where that is set.
# Boots MEDIA until the line MARKER shows on the serial port, the machine
# powers off, OVMF gives up or TIMEOUT seconds pass. Returns 0 when MARKER
# showed. The serial output is left in LOG (default: a file beside MEDIA),
# without carriage returns and the console's escape sequences, followed by
# what QEMU itself said.
boot_run() {
  local firmware=$1 media=$2 as=$3 marker=$4 timeout=$5 log=${6:-$2.$1.$3.serial}
  local run raw args=(-accel tcg -m 256 -display none -monitor none -parallel none -nic none -no-reboot)
  run=$(mktemp -d)
  raw=$run/serial
  # QEMU's option lists take a comma in a file name doubled.
  local file=${media//,/,,} vars_file=${run//,/,,}/vars.fd
  args+=(-serial "file:$raw")
  case $firmware in
    seabios) args+=(-machine pc) ;;
    ovmf)
      cp "$ovmf_vars" "$run/vars.fd"
      args+=(-machine q35
        -drive "if=pflash,format=raw,unit=0,readonly=on,file=$ovmf_code"
        -drive "if=pflash,format=raw,unit=1,file=$vars_file") ;;
    ovmf-secure)
      cp "${boot_vars:-$ovmf_secure_vars}" "$run/vars.fd"
      args+=(-machine "q35,smm=on" -global "driver=cfi.pflash01,property=secure,value=on"
        -drive "if=pflash,format=raw,unit=0,readonly=on,file=$ovmf_secure_code"
        -drive "if=pflash,format=raw,unit=1,file=$vars_file") ;;
    *) echo "boot_run: unknown firmware $firmware" >&2; rm -rf "$run"; return 2 ;;
  esac
  # snapshot=on: nothing a boot does reaches the media.
  case $as in
    cd) args+=(-drive "if=ide,media=cdrom,format=raw,readonly=on,file=$file") ;;
    usb) args+=(-drive "if=none,id=stick,format=raw,snapshot=on,file=$file" -device qemu-xhci -device "usb-storage,drive=stick") ;;
    disk) args+=(-drive "if=ide,media=disk,format=raw,snapshot=on,file=$file") ;;
    *) echo "boot_run: unknown way to attach media: $as" >&2; rm -rf "$run"; return 2 ;;
  esac

  qemu-system-x86_64 "${args[@]}" >"$run/qemu.log" 2>&1 &
  local qemu=$! seen=1 deadline=$((SECONDS + timeout)) gave_up=""
  case $firmware in ovmf) gave_up=$ovmf_gave_up ;; ovmf-secure) gave_up=$ovmf_secure_gave_up ;; esac
  boot_serial_text() { tr -d '\r' 2>/dev/null <"$raw" | sed 's/\x1b\[[0-9;=?]*[A-Za-z]//g'; }
  while kill -0 "$qemu" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    if boot_serial_text | grep -qFx -- "$marker"; then seen=0; break; fi
    if [ -n "$gave_up" ] && boot_serial_text | grep -qE -- "$gave_up"; then break; fi
    sleep 0.5
  done
  # A stand-in may have more to say after its marker: an EFI one powers the
  # machine off when it is done, a BIOS one falls silent.
  if [ $seen -eq 0 ]; then
    local size=-1 quiet=0
    while kill -0 "$qemu" 2>/dev/null && [ $quiet -lt 6 ] && [ $SECONDS -lt $((deadline + 10)) ]; do
      if [ "$(stat -c %s "$raw")" = "$size" ]; then quiet=$((quiet + 1)); else quiet=0 size=$(stat -c %s "$raw"); fi
      sleep 0.5
    done
  fi
  kill "$qemu" 2>/dev/null || true
  wait "$qemu" 2>/dev/null || true
  [ -z "${boot_vars_kept:-}" ] || [ ! -f "$run/vars.fd" ] || cp "$run/vars.fd" "$boot_vars_kept"
  [ $seen -eq 0 ] || ! boot_serial_text | grep -qFx -- "$marker" || seen=0
  { boot_serial_text; grep -v 'terminating on signal' "$run/qemu.log" | sed 's/^/qemu: /' || true; } >"$log"
  rm -rf "$run"
  return $seen
}

# boot_marker FIRMWARE MEDIA AS MARKER TIMEOUT [LOG]: boot_run that prints the
# serial log's end when MARKER did not show.
boot_marker() {
  boot_run "$@" && return 0
  local status=$? log=${6:-$2.$1.$3.serial}
  echo "no \"$4\" from $2 as $3 on $1; the serial log ends:"
  tail -n 8 "$log" | cat -v | sed 's/^/  | /'
  return $status
}

# secure_boot_vars OUT MACHINE KEYS: a variable store for ovmf-secure, made
# from the snakeoil one by a boot of enroll_efi.c, standing for a machine
# whose Secure Boot keys are those of MACHINE:
#   old: db holds the 2011 CA of standin_keys KEYS alone, as a machine that
#     never got the 2023 CA;
#   revoked: db holds both CAs and dbx the 2011 one, as a machine with the
#     revocation of the 2011 CA applied.
# The writes are signed with the snakeoil key, which is the store's KEK.
secure_boot_vars() {
  local out=$1 machine=$2 keys=$3 build status=0
  build=$(mktemp -d)
  openssl rsa -in /usr/share/ovmf/PkKek-1-snakeoil.key -passin pass:snakeoil -out "$build/kek.key" 2>/dev/null &&
    cert-to-efi-sig-list -g 11111111-2222-3333-4444-555555555555 "$keys/ca2011.pem" "$build/ca2011.esl" >/dev/null || status=1
  # variable NAME kReplace|kAppend: one authenticated write of the 2011 CA's
  # list to NAME, as a C array and an entry of kVariables. The owner GUID of
  # the list is any.
  local entries=() arrays=""
  variable() {
    local file=$build/$1.auth options=()
    [ "$2" != kAppend ] || options=(-a)
    sign-efi-sig-list "${options[@]}" -k "$build/kek.key" -c /usr/share/ovmf/PkKek-1-snakeoil.pem \
      "$1" "$build/ca2011.esl" "$file" >/dev/null || return 1
    arrays+="static const unsigned char k_$1[] = {$(od -An -v -tx1 "$file" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//; s/ /, 0x/g; s/^/0x/')};"$'\n'
    entries+=("{\"$1\", u\"$1\", $2, k_$1, sizeof k_$1}")
  }
  case $machine in
    old) variable db kReplace || status=1 ;;
    revoked) { variable db kAppend && variable dbx kReplace; } || status=1 ;;
    *) echo "secure_boot_vars: unknown machine $machine" >&2; status=2 ;;
  esac
  if [ $status -eq 0 ]; then
    { printf '%s' "$arrays"
      printf 'static const Variable kVariables[] = {%s};\n' "$(IFS=,; echo "${entries[*]}")"
    } >"$build/variables.h"
    x86_64-w64-mingw32-gcc-posix -std=c11 -Wall -Wextra -Os -s -nostdlib -ffreestanding -fno-stack-protector \
      -mno-red-zone -fno-asynchronous-unwind-tables -I "$build" -Wl,--subsystem,10 -e efi_main \
      -o "$build/enroll.efi" "$standins_source/enroll_efi.c" &&
      sbsign --key "$keys/2023.key" --cert "$keys/2023.pem" --addcert "$keys/2023.chain.pem" \
        --output "$build/BOOTX64.EFI" "$build/enroll.efi" >/dev/null 2>&1 &&
      mkfs.fat -C "$build/enroll.img" 2048 >/dev/null && mmd -i "$build/enroll.img" ::/EFI ::/EFI/BOOT &&
      mcopy -i "$build/enroll.img" "$build/BOOTX64.EFI" ::/EFI/BOOT/BOOTX64.EFI || status=1
  fi
  if [ $status -eq 0 ]; then
    local expected
    expected=$(printf '%s\n' "${entries[@]}" | sed 's/^{"\([a-z]*\)".*/\1: written/')
    boot_vars_kept=$out boot_run ovmf-secure "$build/enroll.img" disk "$(tail -n 1 <<<"$expected")" 120 "$build/serial" || status=1
    [ $status -ne 0 ] || [ "$(grep -E '^(db|dbx): ' "$build/serial")" = "$expected" ] || status=1
    [ $status -eq 0 ] || { echo "secure_boot_vars: the $machine machine's keys were not written:"; tail -n 5 "$build/serial"; }
  fi
  rm -rf "$build"
  return $status
}
