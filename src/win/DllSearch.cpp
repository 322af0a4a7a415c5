#include "DllSearch.h"

#include <windows.h>

namespace kelvory {

void RestrictDllSearch() noexcept
{
    // Kernel32 has SetDefaultDllDirectories from Windows 8 on, and on Windows 7
    // only with its search-flag update: taken by name, so the program still
    // starts without it and keeps the other half below.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    if (HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll")) {
        const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
            reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
        if (setDefaultDllDirectories) {
            setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
        }
    }
    SetDllDirectoryW(L"");
}

} // namespace kelvory
