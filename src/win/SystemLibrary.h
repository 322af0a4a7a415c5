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

} // namespace kelvory
