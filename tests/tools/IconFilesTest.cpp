// The committed icons, read back independently of the tool that wrote them:
// each file must hold exactly its image set, its bitmaps must be what the tool
// draws byte for byte, and its PNG image must decode through libpng to the
// picture's pixels. The PNG's compressed bytes depend on the zlib version, so
// only its pixels are compared.
#include "IconArt.h"
#include "IconFileReader.h"
#include "IconFormats.h"
#include "IconImageSets.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <ostream>
#include <string>

namespace kelvory {

void PrintTo(const IconImageSet& set, std::ostream* out) { *out << set.fileName; }

namespace {

using test::Bytes;
using test::IconFileEntry;

// The image's pixels as RGBA bytes, rows top-down.
Bytes Rgba(const icons::Image& image)
{
    Bytes rgba;
    for (icons::Color c : image.pixels) {
        rgba.insert(rgba.end(), {c.r, c.g, c.b, c.a});
    }
    return rgba;
}

// Decodes through libpng, which checks the signature, every chunk's CRC and
// the zlib stream. Fails the test and returns nothing when it cannot.
Bytes DecodePng(const Bytes& data, int size)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.data(), data.size())) {
        ADD_FAILURE() << "libpng: " << png.message;
        return {};
    }
    EXPECT_EQ(png.width, static_cast<png_uint_32>(size));
    EXPECT_EQ(png.height, static_cast<png_uint_32>(size));
    EXPECT_EQ(png.format, static_cast<png_uint_32>(PNG_FORMAT_RGBA)) << "not stored as 8-bit RGBA";
    png.format = PNG_FORMAT_RGBA;
    Bytes pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        ADD_FAILURE() << "libpng: " << png.message;
        return {};
    }
    return pixels;
}

class CommittedIcon : public testing::TestWithParam<IconImageSet> {};

TEST_P(CommittedIcon, HoldsExactlyItsImageSetBackToBack)
{
    const std::vector<test::ListedImage> images = test::ReadListedImages(GetParam());
    std::size_t next = 6 + 16 * images.size();
    for (const auto& [listed, stored] : images) {
        const auto [size, bits, png] = listed;
        SCOPED_TRACE(testing::Message() << size << " px, " << bits << " bits");
        EXPECT_EQ(stored.width, size == 256 ? 0 : size);
        EXPECT_EQ(stored.height, size == 256 ? 0 : size);
        EXPECT_EQ(stored.colorCount, bits == 4 ? 16 : 0);
        EXPECT_EQ(stored.planes, 1);
        EXPECT_EQ(stored.bitsPerPixel, bits);
        EXPECT_EQ(stored.offset, next);
        next = stored.offset + stored.data.size();
        const std::string signature(stored.data.begin(),
                                    stored.data.begin() + std::min<std::size_t>(8, stored.data.size()));
        EXPECT_EQ(signature == "\x89PNG\r\n\x1a\n", png);
    }
}

TEST_P(CommittedIcon, BitmapsAreWhatTheToolDrawsByteForByte)
{
    for (const auto& [listed, stored] : test::ReadListedImages(GetParam())) {
        const auto [size, bits, png] = listed;
        if (png) {
            continue;
        }
        SCOPED_TRACE(testing::Message() << size << " px, " << bits << " bits");
        EXPECT_TRUE(stored.data == icons::BitmapImage(icons::DrawImage(GetParam().resourceId, size, bits), bits))
            << "not what make_icons draws: build the update_icons target and commit the result";
    }
}

INSTANTIATE_TEST_SUITE_P(icons, CommittedIcon, testing::ValuesIn(kIconImageSets),
                         [](const testing::TestParamInfo<IconImageSet>& info) {
                             const std::string_view name = info.param.fileName;
                             return std::string(name.substr(0, name.find('.')));
                         });

// Only the large image is PNG; nothing in Kelvory ever decodes it, so this is
// what proves it sound.
TEST(CommittedIcons, PngImagesDecodeToThePicture)
{
    for (const IconImageSet& set : kIconImageSets) {
        for (const auto& [listed, stored] : test::ReadListedImages(set)) {
            const auto [size, bits, png] = listed;
            if (!png) {
                continue;
            }
            SCOPED_TRACE(set.fileName);
            const Bytes pixels = DecodePng(stored.data, size);
            EXPECT_TRUE(pixels == Rgba(icons::DrawImage(set.resourceId, size, bits)))
                << "not what make_icons draws: build the update_icons target and commit the result";
            // The window of the large picture sits inside a transparent margin.
            ASSERT_EQ(pixels.size(), 4u * size * size);
            for (int corner : {0, size - 1, (size - 1) * size, size * size - 1}) {
                EXPECT_EQ(pixels[4 * corner + 3], 0) << "corner pixel " << corner;
            }
        }
    }
}

// A 4-bit icon carries the 16 colours every display adapter since VGA shows,
// in their standard order, so that it looks right on a 16-colour screen. An
// RGBQUAD (blue, green, red, 0) read as a little-endian number is 0x00RRGGBB.
TEST(CommittedIcons, FourBitImagesCarryTheStandardSixteenColours)
{
    constexpr std::array<std::uint32_t, 16> kVga = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    for (const IconImageSet& set : kIconImageSets) {
        for (const IconFileEntry& entry : test::ReadCommittedIcon(set)) {
            if (entry.bitsPerPixel != 4) {
                continue;
            }
            SCOPED_TRACE(testing::Message() << set.fileName << ", " << entry.width << " px");
            ASSERT_GE(entry.data.size(), 40u + 4 * kVga.size());
            for (std::size_t c = 0; c < kVga.size(); ++c) {
                EXPECT_EQ(test::ReadLe32(entry.data, 40 + 4 * c), kVga[c]) << "palette entry " << c;
            }
        }
    }
}

} // namespace
} // namespace kelvory
