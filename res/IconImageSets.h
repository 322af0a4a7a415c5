#pragma once
// Which images each of Kelvory's icons holds. The icon tool draws exactly these,
// and the tests check the committed files and kelvory.exe's resources against
// them. Plain data, so both the host tool and the Windows-side tests include it.
#include "resource.h"

#include <span>
#include <string_view>
#include <vector>

namespace kelvory {

struct IconImage {
    int size = 0;
    int bitsPerPixel = 0;
    bool png = false;

    bool operator==(const IconImage&) const = default;
};

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
    {IDI_COMMAND_PROMPT, "command_prompt.ico", true, kCommandPromptSizes, kButtonDepths},
    {IDI_TASK_MANAGER, "task_manager.ico", false, kTaskManagerSizes, kButtonDepths},
    {IDI_SHUT_DOWN, "shut_down.ico", false, kShutDownSizes, kButtonDepths},
    {IDI_RESTART, "restart.ico", false, kRestartSizes, kButtonDepths},
    {IDI_APPLICATION_MAIN, "application.ico", false, kApplicationSizes, kApplicationDepths},
};

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
