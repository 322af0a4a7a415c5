/* A stand-in for an x64 EFI boot program: it writes its marker to the first
 * serial port, then whether the firmware runs with Secure Boot on, and powers
 * the machine off through the runtime services, so a test sees what ran, how,
 * and that it ran to its end. MARKER is defined by the build. */
#include "efi_serial.h"

static const EFI_GUID kGlobalVariable = {0x8be4df61, 0x93ca, 0x11d2, {0xaa, 0x0d, 0x00, 0xe0, 0x98, 0x03, 0x2b, 0x8c}};

EFI_STATUS efi_main(EFI_HANDLE image, EFI_SYSTEM_TABLE* system)
{
    (void)image;
    SerialWrite("\r\n" MARKER "\r\n");
    /* SecureBoot is 1 while the firmware enforces signatures; it is missing
     * from firmware that cannot. */
    unsigned char secureBoot = 0;
    UINTN size = sizeof secureBoot;
    EFI_STATUS status = system->runtimeServices->GetVariable(u"SecureBoot", &kGlobalVariable, 0, &size, &secureBoot);
    SerialWrite(status == 0 && secureBoot == 1 ? "secure boot: on\r\n" : "secure boot: off\r\n");
    system->runtimeServices->ResetSystem(kEfiResetShutdown, 0, 0, 0);
    return 0;
}
