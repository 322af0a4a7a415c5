#include "IconChoice.h"
#include "IconImageSets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace kelvory {
namespace {

// The images of one of Kelvory's icons, in the order its file holds them.
std::vector<IconEntry> Entries(const IconImageSet& set)
{
    std::vector<IconEntry> entries;
    for (const IconImage& image : ImagesInFileOrder(set)) {
        entries.push_back({image.size, image.size, image.bitsPerPixel, image.png});
    }
    return entries;
}

TEST(ChooseIconEntry, TakesTheStandardSizeInTheRichestDepthTheScreenShows)
{
    // Every button icon the program carries.
    for (const IconImageSet& set : kIconImageSets) {
        if (set.resourceId == IDI_APPLICATION_MAIN) {
            continue;
        }
        const std::vector<IconEntry> entries = Entries(set);
        SCOPED_TRACE(set.fileName);
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
    // The restart icon holds 48, 32, 24, 20 and 16 pixels.
    const auto set = std::find_if(std::begin(kIconImageSets), std::end(kIconImageSets),
                                  [](const IconImageSet& s) { return s.resourceId == IDI_RESTART; });
    ASSERT_NE(set, std::end(kIconImageSets));
    const auto entries = Entries(*set);
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
