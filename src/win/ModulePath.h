#pragma once
#include <windows.h>

#include <string>

namespace kelvory {

// The full path of a loaded module, the running executable by default, however
// long it is.
std::u16string ModuleFileName(HMODULE module = nullptr);

} // namespace kelvory
