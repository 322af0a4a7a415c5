// The committed button icons, read the way Windows reads them: each file must
// hold exactly its set of images, in order, every one of them well formed.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Image
{
    int size;
    int bits;
};

struct IconFile
{
    const char* name;
    std::vector<Image> images;
};

// 4-, 8- and 32-bit images of each size, largest first.
std::vector<Image> Bitmaps(std::vector<Image> images, std::initializer_list<int> sizes)
{
    for (int size : sizes)
        for (int bits : {4, 8, 32})
            images.push_back({size, bits});
    return images;
}

void PrintTo(const IconFile& file, std::ostream* out) { *out << file.name; }

const IconFile kFiles[] = {
    {"command_prompt.ico", Bitmaps({{256, 32}}, {48, 32, 16})},
    {"task_manager.ico", Bitmaps({}, {48, 32, 24, 16})},
    {"shut_down.ico", Bitmaps({}, {48, 32, 24, 16})},
    {"restart.ico", Bitmaps({}, {48, 32, 24, 20, 16})},
    {"application.ico", Bitmaps({}, {48, 32, 16})},
};

// The standard VGA colours in order. An RGBQUAD (blue, green, red, 0) read as a
// little-endian number is 0x00RRGGBB.
constexpr std::array<std::uint32_t, 16> kVga = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

const std::string kPngSignature = "\x89PNG\r\n\x1a\n";

using Bytes = std::vector<std::uint8_t>;

Bytes Read(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

std::uint32_t Le16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t Le32(const Bytes& b, std::size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }
std::uint32_t Be32(const Bytes& b, std::size_t at) { return b.at(at) << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 | b.at(at + 3); }

std::size_t RowBytes(int size, int bits) { return static_cast<std::size_t>((size * bits + 31) / 32 * 4); }

class IconFileTest : public testing::TestWithParam<IconFile>
{
};

TEST_P(IconFileTest, HoldsExactlyItsImagesBackToBack)
{
    const IconFile& expected = GetParam();
    const Bytes ico = Read(std::string(KELVORY_ICON_DIR) + "/" + expected.name);
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(Le16(ico, 0), 0u);
    EXPECT_EQ(Le16(ico, 2), 1u); // an icon, not a cursor
    ASSERT_EQ(Le16(ico, 4), expected.images.size());

    std::size_t next = 6 + 16 * expected.images.size();
    for (std::size_t i = 0; i < expected.images.size(); ++i)
    {
        const auto [size, bits] = expected.images[i];
        SCOPED_TRACE(testing::Message() << "entry " << i << ": " << size << " px, " << bits << " bits");
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(ico.at(entry), size == 256 ? 0 : size);
        EXPECT_EQ(ico.at(entry + 1), size == 256 ? 0 : size);
        EXPECT_EQ(ico.at(entry + 2), bits == 4 ? 16 : 0);
        EXPECT_EQ(Le16(ico, entry + 4), 1u);
        EXPECT_EQ(Le16(ico, entry + 6), static_cast<std::uint32_t>(bits));
        const std::uint32_t length = Le32(ico, entry + 8);
        ASSERT_EQ(Le32(ico, entry + 12), next);
        ASSERT_LE(next + length, ico.size());
        next += length;
    }
    EXPECT_EQ(next, ico.size());
}

TEST_P(IconFileTest, ImagesAreWellFormed)
{
    const IconFile& expected = GetParam();
    const Bytes ico = Read(std::string(KELVORY_ICON_DIR) + "/" + expected.name);
    ASSERT_GE(ico.size(), 6 + 16 * expected.images.size());
    for (std::size_t i = 0; i < expected.images.size(); ++i)
    {
        const auto [size, bits] = expected.images[i];
        SCOPED_TRACE(testing::Message() << "entry " << i << ": " << size << " px, " << bits << " bits");
        const std::size_t length = Le32(ico, 6 + 16 * i + 8);
        const std::size_t at = Le32(ico, 6 + 16 * i + 12);
        ASSERT_LE(at + length, ico.size());
        const Bytes image(ico.begin() + static_cast<std::ptrdiff_t>(at),
                          ico.begin() + static_cast<std::ptrdiff_t>(at + length));

        // Only the 256 px image is stored as PNG.
        const bool png = image.size() >= 8 && std::string(image.begin(), image.begin() + 8) == kPngSignature;
        ASSERT_EQ(png, size == 256);
        if (png)
        {
            ASSERT_GE(image.size(), 33u);
            EXPECT_EQ(std::string(image.begin() + 12, image.begin() + 16), "IHDR");
            EXPECT_EQ(Be32(image, 16), 256u);
            EXPECT_EQ(Be32(image, 20), 256u);
            EXPECT_EQ(image.at(24), 8);  // bits per sample
            EXPECT_EQ(image.at(25), 6);  // RGBA
            continue;
        }

        const std::size_t paletteEntries = bits <= 8 ? std::size_t{1} << bits : 0;
        ASSERT_EQ(image.size(), 40 + 4 * paletteEntries + size * (RowBytes(size, bits) + RowBytes(size, 1)));
        EXPECT_EQ(Le32(image, 0), 40u);
        EXPECT_EQ(Le32(image, 4), static_cast<std::uint32_t>(size));
        EXPECT_EQ(Le32(image, 8), static_cast<std::uint32_t>(2 * size)); // colour rows and mask rows
        EXPECT_EQ(Le16(image, 12), 1u);
        EXPECT_EQ(Le16(image, 14), static_cast<std::uint32_t>(bits));
        EXPECT_EQ(Le32(image, 16), 0u); // uncompressed

        if (bits == 4)
        {
            for (std::size_t c = 0; c < 16; ++c)
                EXPECT_EQ(Le32(image, 40 + 4 * c), kVga[c]) << "palette entry " << c;
        }

        // In 32-bit images the AND mask must agree with the alpha channel, or
        // the icon draws a box wherever alpha is not honoured.
        if (bits == 32)
        {
            const std::size_t mask = 40 + size * RowBytes(size, 32);
            int disagreements = 0;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                {
                    const bool clear = image.at(40 + (y * size + x) * 4 + 3) < 128;
                    const bool masked = image.at(mask + y * RowBytes(size, 1) + x / 8) & (0x80 >> (x % 8));
                    disagreements += clear != masked;
                }
            EXPECT_EQ(disagreements, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(icons, IconFileTest, testing::ValuesIn(kFiles),
                         [](const testing::TestParamInfo<IconFile>& info) {
                             const std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

} // namespace
