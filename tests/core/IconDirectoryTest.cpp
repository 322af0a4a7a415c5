#include "IconDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

namespace kelvory {
namespace {

void Put(std::vector<std::byte>& bytes, std::uint32_t value, int length)
{
    for (int i = 0; i < length; ++i) {
        bytes.push_back(std::byte(value >> 8 * i & 0xFF));
    }
}

std::vector<std::byte> Header(std::uint16_t count, std::uint16_t type = 1, std::uint16_t reserved = 0)
{
    std::vector<std::byte> bytes;
    Put(bytes, reserved, 2);
    Put(bytes, type, 2);
    Put(bytes, count, 2);
    return bytes;
}

// A 32 x 32, 32-bit image's shape, then its size and where it lies: an offset
// in a file (4 bytes), an identifier in a program (2 bytes).
void PutEntry(std::vector<std::byte>& bytes, std::uint32_t size, std::uint32_t place, int placeLength)
{
    Put(bytes, 32, 1);
    Put(bytes, 32, 1);
    Put(bytes, 0, 2);
    Put(bytes, 1, 2);
    Put(bytes, 32, 2);
    Put(bytes, size, 4);
    Put(bytes, place, placeLength);
}

struct Image {
    std::uint32_t size;
    std::uint32_t offset;
};

// An icon file's first bytes: its header and entries. The images themselves are
// not needed, only the file's size.
std::vector<std::byte> File(std::uint16_t count, std::vector<Image> images, std::uint16_t type = 1)
{
    std::vector<std::byte> bytes = Header(count, type);
    for (const Image& image : images) {
        PutEntry(bytes, image.size, image.offset, 4);
    }
    return bytes;
}

TEST(IconSourceOf, TellsProgramsAndIconFilesFromEverythingElse)
{
    const struct {
        const char* what;
        std::vector<std::byte> start;
        IconSource source;
    } cases[] = {
        {"DOS header", {std::byte('M'), std::byte('Z'), std::byte(0x90), std::byte(0)}, IconSource::Program},
        {"icon file", Header(1), IconSource::IconFile},
        {"cursor file", Header(1, 2), IconSource::IconFile},
        {"icon file's header alone, without its count",
         {std::byte(0), std::byte(0), std::byte(1), std::byte(0)},
         IconSource::IconFile},
        {"reserved word not 0", Header(1, 1, 1), IconSource::Other},
        {"type 3", Header(1, 3), IconSource::Other},
        {"text", {std::byte('['), std::byte('p'), std::byte('r'), std::byte('o')}, IconSource::Other},
        {"one byte", {std::byte('M')}, IconSource::Other},
        {"empty file", {}, IconSource::Other},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IconSourceOf(c.start), c.source) << c.what;
    }
}

TEST(IconFileDirectoryFits, AcceptsOnlyADirectoryWhoseEntriesAndImagesLieInTheFile)
{
    // Like Kelvory's application icon: two images behind a 38-byte directory.
    constexpr std::uint64_t kFileSize = 5430;
    const std::vector<Image> two = {{4264, 38}, {1128, 4302}};
    std::vector<std::byte> cut = File(2, two);
    cut.resize(30);
    const struct {
        const char* what;
        std::vector<std::byte> start;
        std::uint64_t fileSize;
        bool fits;
    } cases[] = {
        {"two images, the last ending with the file", File(2, two), kFileSize, true},
        {"a cursor file", File(2, two, 2), kFileSize, true},
        {"count 65535 with two entries", File(65535, two), kFileSize, false},
        {"count one more than the entries", File(3, two), kFileSize, false},
        {"count 0", File(0, {}), kFileSize, false},
        {"entries past the end of the file", File(2, two), 37, false},
        {"the directory not read whole", cut, kFileSize, false},
        {"an image of size 0", File(2, {{4264, 38}, {0, 4302}}), kFileSize, false},
        {"an image one byte past the end", File(2, {{4264, 38}, {1129, 4302}}), kFileSize, false},
        {"an offset past the end", File(2, {{4264, 38}, {1128, 5431}}), kFileSize, false},
        {"an offset that wraps around 32 bits", File(2, {{4264, 38}, {1128, 0xFFFFFF00}}), kFileSize, false},
        {"a size that wraps around 32 bits", File(2, {{4264, 38}, {0xFFFFFFFF, 4302}}), kFileSize, false},
        {"header alone", Header(1), kFileSize, false},
        {"reserved word not 0",
         [&] {
             std::vector<std::byte> bytes = File(2, two);
             bytes[0] = std::byte(1);
             return bytes;
         }(),
         kFileSize, false},
        {"empty file", {}, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IconFileDirectoryFits(c.start, c.fileSize), c.fits) << c.what;
    }
}

TEST(IconFileDirectoryLength, IsTheHeaderAndTheEntriesItCounts)
{
    EXPECT_EQ(IconFileDirectoryLength(Header(2)), 38u);
    EXPECT_EQ(IconFileDirectoryLength(Header(65535)), 6u + 65535u * 16u);
    EXPECT_EQ(IconFileDirectoryLength(Header(0)), 6u);
    EXPECT_EQ(IconFileDirectoryLength(std::vector<std::byte>(5)), 0u);
}

struct GroupEntry {
    std::uint32_t size;
    std::uint16_t id;
};

std::vector<std::byte> Group(std::uint16_t count, std::vector<GroupEntry> entries, std::uint16_t type = 1)
{
    std::vector<std::byte> bytes = Header(count, type);
    for (const GroupEntry& entry : entries) {
        PutEntry(bytes, entry.size, entry.id, 2);
    }
    return bytes;
}

TEST(IconGroupFits, AcceptsOnlyAGroupWhoseEntriesLieInItAndNameImagesThatHoldThem)
{
    // The program's images by identifier, with their sizes.
    const std::map<std::uint16_t, std::uint32_t> images = {{1, 4264}, {2, 1128}};
    const IconImageSize imageSize = [&](std::uint16_t id) -> std::optional<std::uint32_t> {
        const auto image = images.find(id);
        return image == images.end() ? std::nullopt : std::optional(image->second);
    };
    const std::vector<GroupEntry> two = {{4264, 1}, {1128, 2}};
    std::vector<std::byte> cut = Group(2, two);
    cut.pop_back();
    std::vector<std::byte> padded = Group(2, two);
    padded.resize(padded.size() + 2);
    std::vector<std::byte> shortHeader = Header(1);
    shortHeader.resize(4);
    const struct {
        const char* what;
        std::vector<std::byte> group;
        bool fits;
    } cases[] = {
        {"two images", Group(2, two), true},
        {"one of them", Group(1, {{1128, 2}}), true},
        {"padding behind the entries", padded, true},
        {"an entry smaller than its image", Group(1, {{1000, 1}}), true},
        {"count 65535 with two entries", Group(65535, two), false},
        {"count one more than the entries", Group(3, two), false},
        {"count 0", Group(0, {}), false},
        {"the last entry cut short", cut, false},
        {"an image of size 0", Group(2, {{4264, 1}, {0, 2}}), false},
        {"an image larger than the program's", Group(2, {{4264, 1}, {1129, 2}}), false},
        {"an image the program lacks", Group(2, {{4264, 1}, {1128, 3}}), false},
        {"a cursor group", Group(2, two, 2), false},
        {"header cut short", shortHeader, false},
        {"empty group", {}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IconGroupFits(c.group, imageSize), c.fits) << c.what;
    }
}

} // namespace
} // namespace kelvory
