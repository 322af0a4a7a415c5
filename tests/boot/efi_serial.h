/* What the stand-in EFI programs share: the few firmware types they use, laid
 * out as the UEFI tables are, and writing to the first serial port, where the
 * tests read what ran. */
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
    void* timeAndMemoryServices[6]; /* unused here */
    EFI_STATUS (*GetVariable)(const unsigned short* name, const EFI_GUID* vendor, unsigned int* attributes,
                              UINTN* size, void* data);
    void* getNextVariableName;
    EFI_STATUS (*SetVariable)(const unsigned short* name, const EFI_GUID* vendor, unsigned int attributes,
                              UINTN size, const void* data);
    void* counter;
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
