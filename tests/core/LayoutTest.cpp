#include "Layout.h"
#include "Unit1Layout.h"

#include <gtest/gtest.h>

namespace kelvory {
namespace {

// The main window's own stored layout.
constexpr const FormLayout& kLayout = kForm1Layout;

TEST(ScaleLayout, KeepsEveryPixelWhenTheTextMeasuresAsStored)
{
    // 120 pixels per inch scales the font, but if the text still measures 13
    // nothing else moves.
    for (int density : {96, 120}) {
        int measuredWith = 0;
        const ScaledLayout scaled = ScaleLayout(kLayout, density, [&](int height) {
            measuredWith = height;
            return 13;
        });
        EXPECT_EQ(measuredWith, density == 96 ? -11 : -14);
        EXPECT_EQ(scaled.fontHeight, measuredWith);
        EXPECT_EQ(scaled.clientWidth, 198);
        EXPECT_EQ(scaled.clientHeight, 61);
        EXPECT_EQ(scaled.Place(kGroupBox1Layout), (Bounds{0, 0, 198, 61}));
        EXPECT_EQ(scaled.Place({u"Image4", 104, 16, 32, 32}), (Bounds{104, 16, 32, 32}));
    }
}

TEST(ScaleLayout, ScalesPositionsAndSizesByTheMeasuredOverTheStoredTextHeight)
{
    const ScaledLayout scaled = ScaleLayout(kLayout, 144, [](int) { return 20; });
    EXPECT_EQ(scaled.fontHeight, -17); // -11 * 144 / 96 = -16.5, rounded away from zero
    EXPECT_EQ(scaled.clientWidth, 305); // 198 * 20 / 13 = 304.6
    EXPECT_EQ(scaled.clientHeight, 94); // 61 * 20 / 13 = 93.8
    EXPECT_EQ(scaled.Place(kGroupBox1Layout), (Bounds{0, 0, 305, 94}));
    EXPECT_EQ(scaled.Place({u"Image3", 8, 16, 32, 32}), (Bounds{12, 25, 49, 49}));
    EXPECT_EQ(scaled.Place({u"Image4", 104, 16, 32, 32}), (Bounds{160, 25, 49, 49}));
}

TEST(ScaleLayout, KeepsTheStoredPixelsWhenTheTextCannotBeMeasured)
{
    const ScaledLayout scaled = ScaleLayout(kLayout, 96, [](int) { return 0; });
    EXPECT_EQ(scaled.clientWidth, 198);
    EXPECT_EQ(scaled.Place({u"Image6", 152, 16, 32, 32}), (Bounds{152, 16, 32, 32}));
}

TEST(MulDivRounded, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(MulDivRounded(3, 1, 2), 2);
    EXPECT_EQ(MulDivRounded(-3, 1, 2), -2);
    EXPECT_EQ(MulDivRounded(5, 1, 3), 2);
    EXPECT_EQ(MulDivRounded(-5, 1, 3), -2);
    EXPECT_EQ(MulDivRounded(7, 3, -2), -11);
}

} // namespace
} // namespace kelvory
