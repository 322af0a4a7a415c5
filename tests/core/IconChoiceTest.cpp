#include "IconChoice.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvory {
namespace {

// The image sets of the fixed buttons: largest first, 4, 8 then 32 bits per
// pixel within a size, and the command prompt's 256-pixel PNG.
std::vector<IconEntry> Set(std::initializer_list<int> sizes, bool withPng)
{
    std::vector<IconEntry> entries;
    if (withPng) {
        entries.push_back({256, 256, 32, true});
    }
    for (int size : sizes) {
        for (int bits : {4, 8, 32}) {
            entries.push_back({size, size, bits, false});
        }
    }
    return entries;
}

TEST(ChooseIconEntry, TakesTheStandardSizeInTheRichestDepthTheScreenShows)
{
    const std::vector<IconEntry> sets[] = {
        Set({48, 32, 16}, true),
        Set({48, 32, 24, 16}, false),
        Set({48, 32, 24, 20, 16}, false),
    };
    for (const auto& entries : sets) {
        for (int screen : {16, 24, 32}) {
            const auto chosen = ChooseIconEntry(entries, 32, screen);
            ASSERT_TRUE(chosen);
            EXPECT_EQ(entries[*chosen].width, 32);
            EXPECT_EQ(entries[*chosen].bitsPerPixel, 32) << screen;
        }
        for (int screen : {4, 8}) {
            const auto chosen = ChooseIconEntry(entries, 32, screen);
            ASSERT_TRUE(chosen);
            EXPECT_EQ(entries[*chosen].width, 32);
            EXPECT_EQ(entries[*chosen].bitsPerPixel, 4) << screen;
        }
    }
}

TEST(ChooseIconEntry, FollowsALargerStandardSizeToTheClosestImage)
{
    const auto entries = Set({48, 32, 24, 20, 16}, false);
    EXPECT_EQ(entries[*ChooseIconEntry(entries, 41, 32)].width, 48);
    EXPECT_EQ(entries[*ChooseIconEntry(entries, 40, 32)].width, 32); // 48 and 32 are both 8 away: 32 comes later
    EXPECT_EQ(entries[*ChooseIconEntry(entries, 22, 32)].width, 20); // 24 and 20 tie: 20 comes later
    EXPECT_EQ(entries[*ChooseIconEntry(entries, 23, 32)].width, 24);
}

TEST(ChooseIconEntry, LaterEntriesWinTiesAndPngIsNeverUsed)
{
    const std::vector<IconEntry> twins = {{32, 32, 32, false}, {32, 32, 32, false}};
    EXPECT_EQ(ChooseIconEntry(twins, 32, 32), 1u);

    const std::vector<IconEntry> pngOnly = {{256, 256, 32, true}, {32, 32, 32, true}};
    EXPECT_EQ(ChooseIconEntry(pngOnly, 32, 32), std::nullopt);
    EXPECT_EQ(ChooseIconEntry({}, 32, 32), std::nullopt);
}

TEST(ChooseIconEntry, FallsBackToThePoorestDepthWhenNoneFitsThePaletteScreen)
{
    const std::vector<IconEntry> entries = {{32, 32, 32, false}, {32, 32, 8, false}};
    EXPECT_EQ(ChooseIconEntry(entries, 32, 8), 1u);
}

} // namespace
} // namespace kelvory
