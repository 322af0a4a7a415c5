# Shared by the boot tests: QEMU's firmware booting media, watched through the
# first serial port, with the stand-in boot programs of standins.sh. Source it
# after tests/checks.sh.
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
# last option, or says that none is left (under Secure Boot, where the shell
# is refused too).
ovmf_gave_up='No bootable option or device was found|starting Boot[0-9A-F]+ "EFI Internal Shell"'


# boot_run FIRMWARE MEDIA AS MARKER TIMEOUT [LOG]
#   FIRMWARE: seabios, ovmf, or ovmf-secure (Secure Boot enforced);
#   AS: cd (an ISO as a CD-ROM drive), usb (a disk image as a USB stick on
#   an xHCI controller), or disk (a disk image as the machine's disk: SATA on
#   OVMF's q35 machine, IDE on SeaBIOS's pc machine).
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
  args+=(-serial "file:$raw")
  case $firmware in
    seabios) args+=(-machine pc) ;;
    ovmf)
      cp "$ovmf_vars" "$run/vars.fd"
      args+=(-machine q35
        -drive "if=pflash,format=raw,unit=0,readonly=on,file=$ovmf_code"
        -drive "if=pflash,format=raw,unit=1,file=$run/vars.fd") ;;
    ovmf-secure)
      cp "$ovmf_secure_vars" "$run/vars.fd"
      args+=(-machine "q35,smm=on" -global "driver=cfi.pflash01,property=secure,value=on"
        -drive "if=pflash,format=raw,unit=0,readonly=on,file=$ovmf_secure_code"
        -drive "if=pflash,format=raw,unit=1,file=$run/vars.fd") ;;
    *) echo "boot_run: unknown firmware $firmware" >&2; rm -rf "$run"; return 2 ;;
  esac
  # snapshot=on: nothing a boot does reaches the media.
  case $as in
    cd) args+=(-drive "if=ide,media=cdrom,format=raw,readonly=on,file=$media") ;;
    usb) args+=(-drive "if=none,id=stick,format=raw,snapshot=on,file=$media" -device qemu-xhci -device "usb-storage,drive=stick") ;;
    disk) args+=(-drive "if=ide,media=disk,format=raw,snapshot=on,file=$media") ;;
    *) echo "boot_run: unknown way to attach media: $as" >&2; rm -rf "$run"; return 2 ;;
  esac

  qemu-system-x86_64 "${args[@]}" >"$run/qemu.log" 2>&1 &
  local qemu=$! seen=1 deadline=$((SECONDS + timeout))
  boot_serial_text() { tr -d '\r' 2>/dev/null <"$raw" | sed 's/\x1b\[[0-9;=?]*[A-Za-z]//g'; }
  while kill -0 "$qemu" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    if boot_serial_text | grep -qFx -- "$marker"; then seen=0; break; fi
    if [[ $firmware == ovmf* ]] && boot_serial_text | grep -qE -- "$ovmf_gave_up"; then break; fi
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
