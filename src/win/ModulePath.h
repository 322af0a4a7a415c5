#pragma once
#include <string>

namespace kelvory {

// The full path of the running executable, however long it is.
std::u16string ModuleFileName();

} // namespace kelvory
