#pragma once
// The file formats of the icon tool: BMP and PNG icon images and the .ico file
// that holds them.
#include "IconDrawing.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kelvory::icons {

using Bytes = std::vector<std::uint8_t>;

// An icon image in BMP form: a BITMAPINFOHEADER, the palette of a 4- or 8-bit
// image, the colour rows and the AND mask, rows bottom-up. A 4-bit image
// carries the VGA table; an 8-bit image only the colours it uses. Pixels
// transparent in the image are set in the mask and black in the colour rows,
// so that the icon leaves the screen beneath them untouched.
Bytes BitmapImage(const Image& image, int bitsPerPixel);

// A 32-bit RGBA image in PNG form.
Bytes PngImage(const Image& image);

struct IconFileImage {
    int size = 0;
    int bitsPerPixel = 0;
    Bytes data; // in BMP or PNG form
};

// An .ico file holding the images in the given order.
Bytes IconFile(std::span<const IconFileImage> images);

} // namespace kelvory::icons
