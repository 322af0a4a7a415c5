// The committed icons' bitmaps as Windows loads them: every image goes through
// CreateIconFromResourceEx, and the colour and mask bitmaps Windows made of it
// are read back and compared with the picture the icon tool draws. This proves
// the BMP writing (headers, trimmed palettes, row order, the mask) with the
// system's own reader.
#include "IconArt.h"
#include "IconFileReader.h"
#include "IconImageSets.h"
#include "UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace kelvory {

void PrintTo(const IconImageSet& set, std::ostream* out) { *out << set.fileName; }

namespace {

using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteObject>;

// The bitmap's pixels as 32-bit BGRA values, rows top-down.
std::vector<RGBQUAD> Pixels(HBITMAP bitmap, int size)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> pixels(static_cast<std::size_t>(size) * size);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, size, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(rows, size);
    return pixels;
}

// A pixel is transparent in every image of the tool's where it is less than
// half opaque in the picture.
bool Transparent(icons::Color c) { return c.a < 128; }

class LoadedIcon : public testing::TestWithParam<IconImageSet> {};

TEST_P(LoadedIcon, EveryBitmapLoadsToThePicture)
{
    const IconImageSet& set = GetParam();
    for (const auto& [listed, stored] : test::ReadListedImages(set)) {
        const auto [size, bits, png] = listed;
        if (png) {
            continue;
        }
        SCOPED_TRACE(testing::Message() << size << " px, " << bits << " bits");
        test::Bytes data = stored.data; // the call takes a pointer to writable bytes
        const UniqueIcon icon{CreateIconFromResourceEx(data.data(), static_cast<DWORD>(data.size()), TRUE, 0x00030000,
                                                       size, size, LR_DEFAULTCOLOR)};
        ASSERT_TRUE(icon);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon.get(), &info));
        const UniqueBitmap color{info.hbmColor};
        const UniqueBitmap mask{info.hbmMask};
        ASSERT_TRUE(color);
        ASSERT_TRUE(mask);
        BITMAP colorSize{};
        GetObjectW(color.get(), sizeof(colorSize), &colorSize);
        EXPECT_EQ(colorSize.bmWidth, size);
        EXPECT_EQ(colorSize.bmHeight, size);

        const icons::Image picture = icons::DrawImage(set.resourceId, size, bits);
        const std::vector<RGBQUAD> colors = Pixels(color.get(), size);
        const std::vector<RGBQUAD> masked = Pixels(mask.get(), size);
        int wrong = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const icons::Color want = picture.At(x, y);
                const RGBQUAD got = colors[static_cast<std::size_t>(y) * size + x];
                // A set mask bit reads back as white.
                const bool clear = masked[static_cast<std::size_t>(y) * size + x].rgbRed != 0;
                // Under a set mask bit an indexed image must be black, or the
                // icon would tint the screen beneath it.
                const icons::Color shown = bits < 32 && Transparent(want) ? icons::kBlack : want;
                const bool right = clear == Transparent(want) && got.rgbRed == shown.r && got.rgbGreen == shown.g &&
                                   got.rgbBlue == shown.b && (bits < 32 || got.rgbReserved == shown.a);
                if (!right && wrong++ == 0) {
                    ADD_FAILURE() << "first wrong pixel at " << x << ", " << y << ": loaded " << int{got.rgbRed} << " "
                                  << int{got.rgbGreen} << " " << int{got.rgbBlue} << " " << int{got.rgbReserved}
                                  << (clear ? " masked" : "") << ", drawn " << int{want.r} << " " << int{want.g} << " "
                                  << int{want.b} << " " << int{want.a};
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(icons, LoadedIcon, testing::ValuesIn(kIconImageSets),
                         [](const testing::TestParamInfo<IconImageSet>& info) {
                             const std::string_view name = info.param.fileName;
                             return std::string(name.substr(0, name.find('.')));
                         });

} // namespace
} // namespace kelvory
