#include "LaunchRequest.h"

#include <gtest/gtest.h>

namespace kelvory {
namespace {

TEST(FixedRequest, AsksTheShellToOpenTheFileWithItsParametersAndNothingElse)
{
    constexpr WindowId kOwner = 0x1234;
    const struct {
        FixedStart start;
        LaunchRequest expected;
    } cases[] = {
        // No parameters are none, a null pointer to the shell, not empty text.
        {{u"cmd.exe", std::nullopt}, {0x1234, u"Open", u"cmd.exe", std::nullopt, std::nullopt, 10}},
        {{u"taskmgr.exe", std::nullopt}, {0x1234, u"Open", u"taskmgr.exe", std::nullopt, std::nullopt, 10}},
        {{u"wpeutil", u"shutdown"}, {0x1234, u"Open", u"wpeutil", u"shutdown", std::nullopt, 10}},
        {{u"wpeutil", u"reboot"}, {0x1234, u"Open", u"wpeutil", u"reboot", std::nullopt, 10}},
        // Empty parameters stay empty text.
        {{u"wpeutil", u""}, {0x1234, u"Open", u"wpeutil", u"", std::nullopt, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start.file.begin(), c.start.file.end()));
        EXPECT_EQ(FixedRequest(c.start, kOwner), c.expected);
    }
}

TEST(ProgramRequest, StartsThePathWithNoParametersAndNoDirectory)
{
    const LaunchRequest request = ProgramRequest(u"C:\\Tools\\7z.exe", 99);
    EXPECT_EQ(request, (LaunchRequest{99, u"Open", u"C:\\Tools\\7z.exe", std::nullopt, std::nullopt, 10}));
}

} // namespace
} // namespace kelvory
