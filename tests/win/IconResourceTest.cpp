// The memory check behind the reading of a program's icon group: a resource's
// size is the program's own word, and the check reads only as far as memory
// that is really there. Tested on pages of this process.
#include "IconResource.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace kelvory {
namespace {

TEST(IsReadable, HoldsOnlyWhereEveryByteLiesInCommittedReadableMemory)
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const std::size_t page = system.dwPageSize;
    // Four pages of one reservation: read-write, read-only, no access, and one
    // that is reserved alone.
    auto* const base = static_cast<std::byte*>(VirtualAlloc(nullptr, 4 * page, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_TRUE(base);
    ASSERT_TRUE(VirtualAlloc(base, 3 * page, MEM_COMMIT, PAGE_READWRITE));
    DWORD previous = 0;
    ASSERT_TRUE(VirtualProtect(base + page, page, PAGE_READONLY, &previous));
    ASSERT_TRUE(VirtualProtect(base + 2 * page, page, PAGE_NOACCESS, &previous));

    const struct {
        const char* what;
        const std::byte* data;
        std::size_t size;
        bool readable;
    } cases[] = {
        {"one page", base, page, true},
        {"across the read-write and the read-only page", base + page - 8, 16, true},
        {"up to the end of the read-only page", base, 2 * page, true},
        {"a byte into the page without access", base, 2 * page + 1, false},
        {"inside the page without access", base + 2 * page + 8, 8, false},
        {"in the page that is only reserved", base + 3 * page, 1, false},
        {"nothing at the start", base, 0, true},
        {"no memory at all", nullptr, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsReadable(c.data, c.size), c.readable) << c.what;
    }
    VirtualFree(base, 0, MEM_RELEASE);
}

} // namespace
} // namespace kelvory
