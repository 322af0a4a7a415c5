#pragma once
#include "UniqueHandle.h"

#include <windows.h>

#include <cstddef>

namespace kelvory {

// Decodes one image of a multi-image icon resource: the one closest to the
// standard icon size in the richest depth this screen shows. Empty when the
// resource is missing or holds no usable image.
UniqueIcon LoadIconResource(HINSTANCE instance, int resourceId);

// The first icon of a configured program: ExtractIconW's, handed the path
// exactly as configured, once the icon directory that it will read there has
// been found to fit (IconDirectory.h). Empty where it does not fit, as for a
// program without an icon.
UniqueIcon ExtractProgramIcon(HINSTANCE instance, const wchar_t* path);

// False when the file that the icon extraction finds for path holds an icon
// directory that does not fit, or a program that cannot be read as one; true
// otherwise, also for a file it reads no directory of or finds no file for.
bool IconDirectoryFits(const wchar_t* path);

// True when size bytes from data lie in committed memory that can be read. A
// resource's size is its program's own word, and what lies behind a false one
// may not be mapped at all.
bool IsReadable(const void* data, std::size_t size) noexcept;

} // namespace kelvory
