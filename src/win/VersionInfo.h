#pragma once
// Reads a program's version resource through version.dll, which is loaded from
// System32 the first time a description is asked for, never at start-up. It
// reads the file, which may lie on a slow or vanished share: the tooltips call
// it on worker threads, any number at once.
#include <string>

namespace kelvory {

// The FileDescription of the first language in the program's translation table.
// Empty when the path is no file, when the file has no version resource in the
// 32-bit layout, no translation table or no such string, when the resource
// cannot be read, or when version.dll is not there.
std::u16string FileDescription(const std::u16string& path) noexcept;

} // namespace kelvory
