/* Writes Secure Boot variables from inside the firmware, as a machine's
 * updates do: each authenticated write built in (VARIABLES, made by the build
 * from sign-efi-sig-list's output) is handed to SetVariable, the result is
 * written to the first serial port, and the machine powers off. Its variable
 * store, kept by the test, then stands for a machine with other keys. */
#include "efi_serial.h"

typedef struct {
    const char* name;
    const unsigned short* wideName;
    unsigned int attributes;
    const unsigned char* data;
    UINTN size;
} Variable;

/* Non-volatile, boot and runtime access, time-based authenticated; appended. */
enum { kReplace = 0x27, kAppend = 0x67 };

static const EFI_GUID kImageSecurityDatabase = {0xd719b2cb, 0x3d3a, 0x4596, {0xa3, 0xbc, 0xda, 0xd0, 0x0e, 0x67, 0x65, 0x6f}};

#include "variables.h"

EFI_STATUS efi_main(EFI_HANDLE image, EFI_SYSTEM_TABLE* system)
{
    (void)image;
    SerialWrite("\r\n");
    for (unsigned i = 0; i < sizeof kVariables / sizeof kVariables[0]; ++i) {
        const Variable* v = &kVariables[i];
        EFI_STATUS status = system->runtimeServices->SetVariable(v->wideName, &kImageSecurityDatabase, v->attributes,
                                                                 v->size, v->data);
        SerialWrite(v->name);
        SerialWrite(status == 0 ? ": written\r\n" : ": refused\r\n");
    }
    system->runtimeServices->ResetSystem(kEfiResetShutdown, 0, 0, 0);
    return 0;
}
