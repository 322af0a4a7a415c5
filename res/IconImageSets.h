#pragma once
// Which images each of Kelvory's icons holds. The icon tool draws exactly these,
// and the tests check the committed files and kelvory.exe's resources against
// them. Plain data, so both the host tool and the Windows-side tests include it.
#include "resource.h"

#include <iterator>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace kelvory {

struct IconImage {
    int size = 0;
    int bitsPerPixel = 0;
    bool png = false;

    bool operator==(const IconImage&) const = default;
};

// The icons' files, from the list in resource.h that kelvory.rc makes its
// icons from.
struct ResourceIcon {
    int resourceId = 0;
    std::string_view name; // in res/icons
};

inline constexpr ResourceIcon kResourceIcons[] = {
#define KELVORY_ICON_FILE_ROW(id, file) {id, file},
    KELVORY_ICON_FILES(KELVORY_ICON_FILE_ROW)
#undef KELVORY_ICON_FILE_ROW
};

// The file of the icon; an icon missing from the list fails the build where
// this is a constant.
constexpr std::string_view IconFileName(int resourceId)
{
    for (const ResourceIcon& file : kResourceIcons) {
        if (file.resourceId == resourceId) {
            return file.name;
        }
    }
    throw std::logic_error("an icon without a file");
}

struct IconImageSet {
    int resourceId = 0;
    std::string_view fileName;   // in res/icons
    bool withPng = false;        // a 256-pixel, 32-bit image stored as PNG
    std::span<const int> sizes;  // of the bitmap images, largest first
    std::span<const int> depths; // bits per pixel of each size's bitmaps, fewest first
};

inline constexpr int kPngImageSize = 256;

// The buttons' icons come in every depth a screen may have: 16 colours, 256
// colours and full colour with alpha.
inline constexpr int kButtonDepths[] = {4, 8, 32};
inline constexpr int kCommandPromptSizes[] = {48, 32, 16};
inline constexpr int kTaskManagerSizes[] = {48, 32, 24, 16};
inline constexpr int kShutDownSizes[] = {48, 32, 24, 16};
inline constexpr int kRestartSizes[] = {48, 32, 24, 20, 16};
// The application icon is a generic one: the standard and the small size, in
// full colour, are all the shell shows of it.
inline constexpr int kApplicationSizes[] = {32, 16};
inline constexpr int kApplicationDepths[] = {32};

inline constexpr IconImageSet kIconImageSets[] = {
    {IDI_COMMAND_PROMPT, IconFileName(IDI_COMMAND_PROMPT), true, kCommandPromptSizes, kButtonDepths},
    {IDI_TASK_MANAGER, IconFileName(IDI_TASK_MANAGER), false, kTaskManagerSizes, kButtonDepths},
    {IDI_SHUT_DOWN, IconFileName(IDI_SHUT_DOWN), false, kShutDownSizes, kButtonDepths},
    {IDI_RESTART, IconFileName(IDI_RESTART), false, kRestartSizes, kButtonDepths},
    {IDI_APPLICATION_MAIN, IconFileName(IDI_APPLICATION_MAIN), false, kApplicationSizes, kApplicationDepths},
};

// Every icon of the resource script has exactly one image set.
constexpr bool EveryIconFileHasOneImageSet()
{
    for (const ResourceIcon& file : kResourceIcons) {
        int sets = 0;
        for (const IconImageSet& set : kIconImageSets) {
            sets += set.resourceId == file.resourceId;
        }
        if (sets != 1) {
            return false;
        }
    }
    return std::size(kResourceIcons) == std::size(kIconImageSets);
}
static_assert(EveryIconFileHasOneImageSet());

// The images in the order an icon file holds them: from the largest to the
// smallest, so the PNG comes first, and each size from the fewest colours up.
inline std::vector<IconImage> ImagesInFileOrder(const IconImageSet& set)
{
    std::vector<IconImage> images;
    if (set.withPng) {
        images.push_back({kPngImageSize, 32, true});
    }
    for (int size : set.sizes) {
        for (int bits : set.depths) {
            images.push_back({size, bits, false});
        }
    }
    return images;
}

} // namespace kelvory
