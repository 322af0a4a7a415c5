/* A stand-in for an x64 EFI boot program: it writes its marker to the first
 * serial port and powers the machine off through the runtime services, so a
 * test sees both what ran and that it ran to its end. MARKER is defined by the
 * build. */
typedef unsigned long long UINTN;
typedef UINTN EFI_STATUS;
typedef void* EFI_HANDLE;

typedef struct {
    unsigned char header[24];
    void* services[10];  /* time, virtual memory and variable services, unused here */
    void (*ResetSystem)(int type, EFI_STATUS status, UINTN size, void* data);
} EFI_RUNTIME_SERVICES;

typedef struct {
    unsigned char header[24];
    void* firmwareVendor;
    unsigned int firmwareRevision;
    void* consoles[6];
    EFI_RUNTIME_SERVICES* runtimeServices;
} EFI_SYSTEM_TABLE;

enum { kEfiResetShutdown = 2 };

static unsigned char InByte(unsigned short port)
{
    unsigned char value;
    __asm__ volatile("inb %1, %0" : "=a"(value) : "Nd"(port));
    return value;
}

static void OutByte(unsigned short port, unsigned char value)
{
    __asm__ volatile("outb %0, %1" : : "a"(value), "Nd"(port));
}

static void SerialWrite(const char* text)
{
    for (; *text; ++text) {
        while (!(InByte(0x3fd) & 0x20)) {
        }
        OutByte(0x3f8, (unsigned char)*text);
    }
}

EFI_STATUS efi_main(EFI_HANDLE image, EFI_SYSTEM_TABLE* system)
{
    (void)image;
    SerialWrite("\r\n" MARKER "\r\n");
    system->runtimeServices->ResetSystem(kEfiResetShutdown, 0, 0, 0);
    return 0;
}
