#include "ModulePath.h"

#include "PathLimit.h"
#include "Text.h"

#include <windows.h>

namespace kelvory {

std::u16string ModuleFileName(HMODULE module)
{
    // A path that fills the buffer may have been cut, so grow until it fits, up
    // to the longest path the system has. Paths beyond MAX_PATH are real: a deep
    // folder on a technician's USB stick.
    std::u16string path(MAX_PATH + 1, u'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, WideBuffer(path), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size() || path.size() > kLongestPath) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace kelvory
