# A stand-in for a BIOS boot program: it writes its marker to the first serial
# port and halts. The same code stands in for the El Torito boot image, which
# the BIOS loads at 07C0:0000 or 0000:7C00, and for bootmgr, which syslinux's
# chain.c32 loads at 2000:0000 for ntldr=, so it finds its marker relative to
# where it runs. The build adds the marker after the code, at "marker".
#
# Built with HANDOVER defined (as bootmgr), it then writes what it was handed
# as Windows' boot manager is: "handed over: drive DD, FFFFFFFF, hidden HHHHHHHH"
# with DL, the file system type of the FAT32 boot sector at 0000:7C00 and that
# sector's hidden-sectors field, both as that sector's loader leaves them.
        .code16
        .intel_syntax noprefix
        .text
        .globl start
start:
        cli
        cld
        mov     bp, dx                  # the drive, in DL
        call    here
here:
        pop     si
        add     si, offset marker - here
        push    cs
        pop     ds
next:
        lodsb
        test    al, al
        jz      written
        call    put
        jmp     next
written:
.ifdef HANDOVER
        add     si, offset handed - marker_end
        call    puts
        mov     ax, bp
        call    hex_byte
        call    puts                    # ", "
        xor     ax, ax
        mov     es, ax
        mov     di, 0x7c52              # FAT32: the file system type
        mov     cx, 8
type:
        mov     al, es:[di]
        call    put
        inc     di
        loop    type
        call    puts                    # ", hidden "
        mov     ax, es:[0x7c1e]         # FAT: hidden sectors, high word first
        call    hex_word
        mov     ax, es:[0x7c1c]
        call    hex_word
        call    puts                    # end of line
.endif
done:
        hlt
        jmp     done

# puts: writes the text at DS:SI up to its NUL, and leaves SI past it.
puts:
        lodsb
        test    al, al
        jz      1f
        call    put
        jmp     puts
1:      ret

hex_word:
        push    ax
        mov     al, ah
        call    hex_byte
        pop     ax
hex_byte:
        push    ax
        shr     al, 4
        call    hex_digit
        pop     ax
hex_digit:
        and     al, 0x0f
        add     al, '0'
        cmp     al, '9'
        jbe     put
        add     al, 'A' - '9' - 1
# put: writes AL to the first serial port once its transmitter is empty.
put:
        push    dx
        push    ax
        mov     dx, 0x3fd
1:      in      al, dx
        test    al, 0x20
        jz      1b
        pop     ax
        mov     dx, 0x3f8
        out     dx, al
        pop     dx
        ret

.ifdef HANDOVER
handed:
        .asciz  "handed over: drive "
        .asciz  ", "
        .asciz  ", hidden "
        .asciz  "\r\n"
.endif
