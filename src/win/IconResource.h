#pragma once
#include "UniqueHandle.h"

#include <windows.h>

namespace kelvory {

// Decodes one image of a multi-image icon resource: the one closest to the
// standard icon size in the richest depth this screen shows. Empty when the
// resource is missing or holds no usable image.
UniqueIcon LoadIconResource(HINSTANCE instance, int resourceId);

} // namespace kelvory
