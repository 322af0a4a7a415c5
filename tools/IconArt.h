#pragma once
// The pictures of Kelvory's icons. Every size is drawn from its own geometry,
// never scaled from a bigger picture, so the small sizes get thicker strokes
// and fewer details.
#include "IconDrawing.h"

namespace kelvory::icons {

// The picture of the icon with the given resource identifier at one of the
// sizes its image set lists.
Scene DrawIcon(int resourceId, int size);

// One image of an icon: its picture at the image's size, rendered in its depth.
Image DrawImage(int resourceId, int size, int bitsPerPixel);

} // namespace kelvory::icons
