#include "VersionBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvory {
namespace {

void PutWord(std::vector<std::byte>& block, std::size_t offset, std::uint16_t word)
{
    block[offset] = std::byte(word & 0xFF);
    block[offset + 1] = std::byte(word >> 8);
}

// A block of size bytes beginning with a 32-bit root header and its key.
std::vector<std::byte> Wide(std::size_t size, std::uint16_t length, std::uint16_t valueLength, std::uint16_t type,
                            std::u16string_view key = u"VS_VERSION_INFO")
{
    std::vector<std::byte> block(size);
    PutWord(block, 0, length);
    PutWord(block, 2, valueLength);
    PutWord(block, 4, type);
    for (std::size_t i = 0; i < key.size() && 6 + 2 * i + 1 < size; ++i) {
        PutWord(block, 6 + 2 * i, key[i]);
    }
    return block;
}

// The same root in the 16-bit layout: no type word, an ANSI key.
std::vector<std::byte> Narrow(std::size_t size, std::uint16_t length, std::uint16_t valueLength)
{
    std::vector<std::byte> block(size);
    PutWord(block, 0, length);
    PutWord(block, 2, valueLength);
    const std::string_view key = "VS_VERSION_INFO";
    for (std::size_t i = 0; i < key.size(); ++i) {
        block[4 + i] = std::byte(key[i]);
    }
    return block;
}

TEST(IsWideVersionBlock, AcceptsOnlyA32BitRootWhoseHeaderFitsTheBlock)
{
    const struct {
        const char* what;
        std::vector<std::byte> block;
        bool wide;
    } cases[] = {
        {"binary root with its fixed information", Wide(372, 184, 52, 0), true},
        {"text root", Wide(372, 184, 52, 1), true},
        {"root of header and key alone, filling the block", Wide(38, 38, 0, 0), true},
        {"16-bit root", Narrow(372, 184, 52), false},
        {"16-bit root of a 20,000-character description", Narrow(40340, 20168, 52), false},
        {"type word neither 0 nor 1", Wide(372, 184, 52, 2), false},
        {"length past the block", Wide(184, 185, 52, 0), false},
        {"length short of header and key", Wide(372, 37, 0, 0), false},
        {"another key", Wide(372, 184, 52, 0, u"VS_VERSION_INFX"), false},
        {"key without its zero", Wide(372, 184, 52, 0, u"VS_VERSION_INFOX"), false},
        {"value past the length", Wide(372, 91, 52, 0), false},
        {"block shorter than header and key", Wide(37, 37, 0, 0), false},
        {"empty block", {}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWideVersionBlock(c.block), c.wide) << c.what;
    }
}

} // namespace
} // namespace kelvory
