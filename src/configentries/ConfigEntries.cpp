// Reads a kelvory.ini with Kelvory's own code and prints what the program
// makes of each entry, for scripts on the build machine: the profile reader
// reads it, and the placeholders are expanded with CharUpperBuffW, exactly as
// a click does, from values given on the command line instead of the
// environment of the machine where the file will be used.
//   config_entries.exe INI PROGRAMFILES SYSTEMROOT SYSTEMDRIVE
// For every entry, in ascending number, three UTF-8 fields each ended by a NUL:
// the number, the value as read and the expanded value. No field can hold a
// NUL, and a value may hold a tab.
#include "ConfigFile.h"
#include "Environment.h"
#include "Text.h"

#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::u16string& text)
{
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, kelvory::WideText(text), static_cast<int>(text.size()), nullptr,
                                         0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, kelvory::WideText(text), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5) {
        return 2;
    }
    // Wine sets these three in every new process from its own prefix, so they
    // are set here, where the expansion reads them.
    SetEnvironmentVariableW(L"programfiles", argv[2]);
    SetEnvironmentVariableW(L"systemroot", argv[3]);
    SetEnvironmentVariableW(L"systemdrive", argv[4]);

    std::string output;
    const std::u16string path(reinterpret_cast<const char16_t*>(argv[1]));
    kelvory::ForEachConfiguredEntry(path, [&](int number, const std::u16string& value) {
        output += std::to_string(number) + '\0';
        output += Utf8(value) + '\0';
        output += Utf8(kelvory::ExpandPathPlaceholders(value)) + '\0';
    });

    DWORD written = 0;
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const BOOL wrote = WriteFile(out, output.data(), static_cast<DWORD>(output.size()), &written, nullptr);
    return wrote && written == output.size() ? 0 : 3;
}
