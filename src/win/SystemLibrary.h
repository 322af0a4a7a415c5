#pragma once
// DLLs that the program loads at run time come from System32 and nowhere else:
// a folder on removable media or a download folder may hold a planted copy
// named like a system DLL.
#include <windows.h>

namespace kelvory {

// Loads a system DLL by its bare name (L"version.dll") from System32 only.
// Returns null when it cannot be loaded. The module stays loaded for the life
// of the process.
HMODULE LoadSystem32Library(const wchar_t* name) noexcept;

// An export of a System32 DLL, looked up at its first use; null when the DLL or
// the export is missing. Only the GUI thread calls these, so the lookup needs
// no lock.
template <class Function>
struct LazyExport {
    const wchar_t* library;
    const char* name;
    Function address = nullptr;
    bool resolved = false;

    Function Get() noexcept
    {
        if (!resolved) {
            resolved = true;
            if (const HMODULE module = LoadSystem32Library(library)) {
                address = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
            }
        }
        return address;
    }
};

} // namespace kelvory
