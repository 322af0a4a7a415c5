/* A stand-in for an x64 EFI boot program: it writes its marker to the first
 * serial port, then whether the firmware runs with Secure Boot on, and powers
 * the machine off through the runtime services, so a test sees what ran, how,
 * and that it ran to its end. MARKER is defined by the build. */
typedef unsigned long long UINTN;
typedef UINTN EFI_STATUS;
typedef void* EFI_HANDLE;

typedef struct {
    unsigned int data1;
    unsigned short data2, data3;
    unsigned char data4[8];
} EFI_GUID;

typedef struct {
    unsigned char header[24];
    void* services[6];  /* the time and virtual memory services, unused here */
    EFI_STATUS (*GetVariable)(const unsigned short* name, const EFI_GUID* vendor, unsigned int* attributes,
                              UINTN* size, void* data);
    void* moreServices[3];
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

static const EFI_GUID kGlobalVariable = {0x8be4df61, 0x93ca, 0x11d2, {0xaa, 0x0d, 0x00, 0xe0, 0x98, 0x03, 0x2b, 0x8c}};

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
    /* SecureBoot is 1 while the firmware enforces signatures; it is missing
     * from firmware that cannot. */
    unsigned char secureBoot = 0;
    UINTN size = sizeof secureBoot;
    EFI_STATUS status = system->runtimeServices->GetVariable(u"SecureBoot", &kGlobalVariable, 0, &size, &secureBoot);
    SerialWrite(status == 0 && secureBoot == 1 ? "secure boot: on\r\n" : "secure boot: off\r\n");
    system->runtimeServices->ResetSystem(kEfiResetShutdown, 0, 0, 0);
    return 0;
}
