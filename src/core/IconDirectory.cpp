#include "IconDirectory.h"

namespace kelvory {

namespace {

// Both directories begin with a reserved word, a type and a count. An entry
// describes one image: its shape in 8 bytes, then its size in bytes, then in
// a file the image's offset, in a program the identifier of its own resource.
constexpr std::size_t kHeaderSize = kIconDirectoryHeaderSize;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kEntrySizeOffset = 8;
constexpr std::size_t kEntryPlaceOffset = 12;
constexpr unsigned kIconType = 1;
constexpr unsigned kCursorType = 2;

std::uint32_t Word(std::span<const std::byte> bytes, std::size_t offset) noexcept
{
    return std::to_integer<std::uint32_t>(bytes[offset]) | std::to_integer<std::uint32_t>(bytes[offset + 1]) << 8;
}

std::uint32_t DoubleWord(std::span<const std::byte> bytes, std::size_t offset) noexcept
{
    return Word(bytes, offset) | Word(bytes, offset + 2) << 16;
}

} // namespace

IconSource IconSourceOf(std::span<const std::byte> start) noexcept
{
    if (start.size() >= 2 && Word(start, 0) == ('M' | 'Z' << 8)) {
        return IconSource::Program;
    }
    if (start.size() >= 4 && Word(start, 0) == 0 && (Word(start, 2) == kIconType || Word(start, 2) == kCursorType)) {
        return IconSource::IconFile;
    }
    return IconSource::Other;
}

std::size_t IconFileDirectoryLength(std::span<const std::byte> start) noexcept
{
    return start.size() < kHeaderSize ? 0 : kHeaderSize + Word(start, 4) * kFileEntrySize;
}

bool IconFileDirectoryFits(std::span<const std::byte> start, std::uint64_t fileSize) noexcept
{
    const std::size_t length = IconFileDirectoryLength(start);
    if (IconSourceOf(start) != IconSource::IconFile || length <= kHeaderSize || length > start.size() ||
        length > fileSize) {
        return false;
    }
    for (std::size_t entry = kHeaderSize; entry < length; entry += kFileEntrySize) {
        const std::uint64_t size = DoubleWord(start, entry + kEntrySizeOffset);
        const std::uint64_t offset = DoubleWord(start, entry + kEntryPlaceOffset);
        if (size == 0 || offset + size > fileSize) {
            return false;
        }
    }
    return true;
}

bool IconGroupFits(std::span<const std::byte> group, const IconImageSize& imageSize)
{
    if (group.size() < kHeaderSize || Word(group, 0) != 0 || Word(group, 2) != kIconType || Word(group, 4) == 0) {
        return false;
    }
    const std::size_t length = kHeaderSize + Word(group, 4) * kGroupEntrySize;
    if (length > group.size()) {
        return false;
    }
    for (std::size_t entry = kHeaderSize; entry < length; entry += kGroupEntrySize) {
        const std::uint32_t size = DoubleWord(group, entry + kEntrySizeOffset);
        const std::optional<std::uint32_t> held =
            imageSize(static_cast<std::uint16_t>(Word(group, entry + kEntryPlaceOffset)));
        if (size == 0 || !held || size > *held) {
            return false;
        }
    }
    return true;
}

} // namespace kelvory
