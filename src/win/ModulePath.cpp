#include "ModulePath.h"

#include <windows.h>

namespace kelvory {

std::wstring ModuleFileName()
{
    // A path that fills the buffer may have been cut, so grow until it fits.
    // Paths beyond MAX_PATH are real: a deep folder on a technician's USB stick.
    std::wstring path(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace kelvory
