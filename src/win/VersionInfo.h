#pragma once
// Reads a program's version resource through version.dll, which is loaded from
// System32 the first time a description is asked for, never at start-up.
#include <string>

namespace kelvory {

// The FileDescription of the first language in the program's translation table.
// Empty when the file has no version resource, no translation table or no such
// string, when the resource cannot be read, or when version.dll is not there.
std::u16string FileDescription(const std::u16string& path) noexcept;

} // namespace kelvory
