#pragma once
// Which image of a multi-image icon a button shows.
#include <optional>
#include <span>

namespace kelvory {

struct IconEntry {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    bool png = false;
};

// The entry closest to the standard icon size, in the richest colour depth the
// screen shows, later entries winning ties; PNG images are never chosen.
// Palette screens (8 bits per pixel or fewer) get 16-colour images: an 8-bit
// image would fight the system palette for its colours. Returns the index.
std::optional<std::size_t> ChooseIconEntry(std::span<const IconEntry> entries, int standardSize, int screenBitsPerPixel);

} // namespace kelvory
