// The committed button icons, read the way Windows reads them: each file must
// hold exactly its set of images, in order, every one of them well formed.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <span>
#include <stdexcept>
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

// Nothing else in Kelvory ever decodes the PNG image (the launcher draws the
// bitmaps), so this inflater is what proves make_icons' deflate output is
// sound. It reads every block type and throws on anything malformed.
class Inflater
{
public:
    explicit Inflater(std::span<const std::uint8_t> in) : in_(in) {}

    Bytes Run()
    {
        Bytes out;
        for (bool last = false; !last;)
        {
            last = Bits(1);
            const int type = Bits(2);
            if (type == 0)
            {
                at_ = (at_ + 7) / 8 * 8;
                const int length = Bits(16);
                if (Bits(16) != (~length & 0xFFFF))
                    throw std::runtime_error("stored length and its complement disagree");
                for (int i = 0; i < length; ++i)
                    out.push_back(static_cast<std::uint8_t>(Bits(8)));
                continue;
            }
            if (type == 3)
                throw std::runtime_error("reserved block type");
            std::vector<int> lengths; // literal/length code, then distance code
            std::size_t literals = 288;
            if (type == 1)
            {
                for (auto [count, length] : {std::pair{144, 8}, {112, 9}, {24, 7}, {8, 8}, {30, 5}})
                    lengths.insert(lengths.end(), count, length);
            }
            else
            {
                literals = static_cast<std::size_t>(Bits(5) + 257);
                const auto total = literals + static_cast<std::size_t>(Bits(5) + 1);
                const int runLengthCodes = Bits(4) + 4;
                std::vector<int> runLengths(19);
                for (int i = 0; i < runLengthCodes; ++i)
                    runLengths[kRunOrder[static_cast<std::size_t>(i)]] = Bits(3);
                const Code runs(runLengths);
                while (lengths.size() < total)
                {
                    const int symbol = Decode(runs);
                    if (symbol < 16)
                        lengths.push_back(symbol);
                    else if (symbol == 16 && !lengths.empty())
                        lengths.insert(lengths.end(), static_cast<std::size_t>(3 + Bits(2)), lengths.back());
                    else if (symbol == 17)
                        lengths.insert(lengths.end(), static_cast<std::size_t>(3 + Bits(3)), 0);
                    else if (symbol == 18)
                        lengths.insert(lengths.end(), static_cast<std::size_t>(11 + Bits(7)), 0);
                    else
                        throw std::runtime_error("repeat with nothing to repeat");
                }
                if (lengths.size() != total)
                    throw std::runtime_error("code lengths run past the tables");
            }
            const Code literal{std::span(lengths).first(literals)};
            const Code distance{std::span(lengths).subspan(literals)};
            for (int symbol; (symbol = Decode(literal)) != 256;)
            {
                if (symbol < 256)
                {
                    out.push_back(static_cast<std::uint8_t>(symbol));
                    continue;
                }
                const auto l = static_cast<std::size_t>(symbol - 257);
                if (l >= kLengthBase.size())
                    throw std::runtime_error("invalid length code");
                const int length = kLengthBase[l] + Bits(kLengthExtra[l]);
                const auto d = static_cast<std::size_t>(Decode(distance));
                if (d >= kDistanceBase.size())
                    throw std::runtime_error("invalid distance code");
                const auto back = static_cast<std::size_t>(kDistanceBase[d] + Bits(kDistanceExtra[d]));
                if (back > out.size())
                    throw std::runtime_error("distance before the start");
                for (int i = 0; i < length; ++i)
                    out.push_back(out[out.size() - back]);
            }
        }
        return out;
    }

private:
    // A canonical Huffman code as the number of codes of each length and the
    // symbols in code order.
    struct Code
    {
        explicit Code(std::span<const int> lengths)
        {
            for (int length : lengths)
                ++perLength[static_cast<std::size_t>(length)];
            for (int length = 1; length < 16; ++length)
                for (std::size_t s = 0; s < lengths.size(); ++s)
                    if (lengths[s] == length)
                        symbols.push_back(static_cast<int>(s));
        }
        std::array<int, 16> perLength{};
        std::vector<int> symbols;
    };

    int Bits(int count)
    {
        int value = 0;
        for (int i = 0; i < count; ++i, ++at_)
        {
            if (at_ / 8 >= in_.size())
                throw std::runtime_error("data ends inside a block");
            value |= (in_[at_ / 8] >> (at_ % 8) & 1) << i;
        }
        return value;
    }

    // Huffman codes arrive most significant bit first; the codes of each
    // length follow those of the lengths before.
    int Decode(const Code& code)
    {
        int value = 0, first = 0, index = 0;
        for (std::size_t length = 1; length < 16; ++length)
        {
            value |= Bits(1);
            const int count = code.perLength[length];
            if (value - first < count)
                return code.symbols[static_cast<std::size_t>(index + value - first)];
            index += count;
            first = (first + count) << 1;
            value <<= 1;
        }
        throw std::runtime_error("no such code");
    }

    static constexpr std::array<std::size_t, 19> kRunOrder = {16, 17, 18, 0,  8, 7,  9, 6,  10, 5,
                                                              11, 4,  12, 3, 13, 2, 14, 1, 15};
    static constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10,  11,  13,  15,  17,  19,  23, 27,
                                                        31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                         2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static constexpr std::array<int, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,    9,    13,   17,   25,
                                                          33,   49,   65,   97,   129,  193,  257,  385,  513,  769,
                                                          1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385,
                                                          24577};
    static constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                           6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

    std::span<const std::uint8_t> in_;
    std::size_t at_ = 0; // in bits
};

std::uint32_t Crc32(std::span<const std::uint8_t> data)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : data)
    {
        crc ^= byte;
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? 0xEDB88320u ^ crc >> 1 : crc >> 1;
    }
    return ~crc;
}

// The RGBA pixels of a 256 px PNG, rows top-down, after checking every chunk's
// CRC, the zlib wrapper and that each row is undone by a valid filter.
Bytes DecodePng(const Bytes& png)
{
    Bytes zlib;
    std::size_t at = 8;
    for (std::string type; type != "IEND"; at += 12 + Be32(png, at))
    {
        const std::size_t length = Be32(png, at);
        if (at + 12 + length > png.size())
            throw std::runtime_error("chunk runs past the end");
        const std::span chunk(png.begin() + static_cast<std::ptrdiff_t>(at + 4), 4 + length);
        if (Crc32(chunk) != Be32(png, at + 8 + length))
            throw std::runtime_error("bad chunk CRC");
        type.assign(chunk.begin(), chunk.begin() + 4);
        if (type == "IDAT")
            zlib.insert(zlib.end(), chunk.begin() + 4, chunk.end());
    }
    if (at != png.size())
        throw std::runtime_error("data after IEND");
    if (zlib.size() < 6 || (zlib[0] & 0x0F) != 8 || (zlib[0] << 8 | zlib[1]) % 31 != 0 || (zlib[1] & 0x20))
        throw std::runtime_error("bad zlib header");
    const Bytes rows = Inflater(std::span(zlib).subspan(2, zlib.size() - 6)).Run();
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : rows)
    {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    if ((b << 16 | a) != Be32(zlib, zlib.size() - 4))
        throw std::runtime_error("bad Adler-32");

    constexpr std::size_t kStride = 256 * 4;
    if (rows.size() != 256 * (1 + kStride))
        throw std::runtime_error("wrong amount of pixel data");
    Bytes pixels;
    for (std::size_t y = 0; y < 256; ++y)
    {
        const std::uint8_t filter = rows[y * (1 + kStride)];
        if (filter > 4)
            throw std::runtime_error("unknown row filter");
        for (std::size_t i = 0; i < kStride; ++i)
        {
            const int left = i >= 4 ? pixels[pixels.size() - 4] : 0;
            const int up = y > 0 ? pixels[pixels.size() - kStride] : 0;
            const int upLeft = y > 0 && i >= 4 ? pixels[pixels.size() - kStride - 4] : 0;
            const int p = left + up - upLeft;
            const int pl = std::abs(p - left), pu = std::abs(p - up), pul = std::abs(p - upLeft);
            const int paeth = pl <= pu && pl <= pul ? left : pu <= pul ? up : upLeft;
            const int guess = std::array{0, left, up, (left + up) / 2, paeth}[filter];
            pixels.push_back(static_cast<std::uint8_t>(rows[y * (1 + kStride) + 1 + i] + guess));
        }
    }
    return pixels;
}

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
            // The PNG is embedded in kelvory.exe; its pixels alone are 256 KB
            // uncompressed, and the flat artwork deflates to a few.
            EXPECT_LT(image.size(), 32u * 1024);
            try
            {
                const Bytes pixels = DecodePng(image);
                // The window sits inside a transparent margin, and its console
                // is opaque.
                for (std::size_t corner : {0, 255, 255 * 256, 256 * 256 - 1})
                    EXPECT_EQ(pixels[4 * corner + 3], 0) << "corner pixel " << corner;
                EXPECT_EQ(pixels[4 * (160 * 256 + 128) + 3], 255);
            }
            catch (const std::exception& e)
            {
                ADD_FAILURE() << "PNG does not decode: " << e.what();
            }
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
