#include "SystemLibrary.h"

#include <string>

namespace kelvory {

HMODULE LoadSystem32Library(const wchar_t* name) noexcept
{
    if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return module;
    }
    // Systems without the search-flag update reject the flag as an invalid
    // parameter; there the full System32 path does the same job.
    if (GetLastError() != ERROR_INVALID_PARAMETER) {
        return nullptr;
    }
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    try {
        std::wstring path(folder, length);
        path += L'\\';
        path += name;
        return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    } catch (...) {
        return nullptr;
    }
}

} // namespace kelvory
