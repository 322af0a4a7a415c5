#include "VersionBlock.h"

#include <string_view>

namespace kelvory {

namespace {

unsigned Word(std::span<const std::byte> block, std::size_t offset) noexcept
{
    return std::to_integer<unsigned>(block[offset]) | std::to_integer<unsigned>(block[offset + 1]) << 8;
}

} // namespace

bool IsWideVersionBlock(std::span<const std::byte> block) noexcept
{
    // wLength, wValueLength and wType, then the key with its zero.
    constexpr std::u16string_view kKey{u"VS_VERSION_INFO", 16};
    constexpr std::size_t kKeyOffset = 6;
    constexpr std::size_t kKeyEnd = kKeyOffset + kKey.size() * 2;
    constexpr std::size_t kValueOffset = (kKeyEnd + 3) / 4 * 4;
    if (block.size() < kKeyEnd) {
        return false;
    }
    const std::size_t length = Word(block, 0);
    if (length < kKeyEnd || length > block.size() || Word(block, 4) > 1) {
        return false;
    }
    for (std::size_t i = 0; i < kKey.size(); ++i) {
        if (Word(block, kKeyOffset + 2 * i) != kKey[i]) {
            return false;
        }
    }
    return Word(block, 2) == 0 || kValueOffset + Word(block, 2) <= length;
}

} // namespace kelvory
