#include "LaunchRequest.h"

#include <gtest/gtest.h>

namespace kelvory {
namespace {

TEST(FixedRequest, AsksTheShellToOpenTheFileWithItsParametersAndNothingElse)
{
    constexpr WindowId kOwner = 0x1234;
    struct Case {
        FixedStart start;
        std::optional<std::u16string> parameters;
    };
    const Case cases[] = {
        {{u"cmd.exe", std::nullopt}, std::nullopt}, // none, which is not empty text
        {{u"wpeutil", u"shutdown"}, u"shutdown"},
    };
    for (const Case& c : cases) {
        const LaunchRequest request = FixedRequest(c.start, kOwner);
        SCOPED_TRACE(std::string(c.start.file.begin(), c.start.file.end()));
        EXPECT_EQ(request.owner, kOwner);
        EXPECT_EQ(request.verb, u"Open");
        EXPECT_EQ(request.file, c.start.file);
        EXPECT_EQ(request.parameters, c.parameters);
        EXPECT_EQ(request.directory, std::nullopt);
        EXPECT_EQ(request.showMode, 10);
    }
}

TEST(ProgramRequest, StartsThePathWithNoParametersAndNoDirectory)
{
    const LaunchRequest request = ProgramRequest(u"C:\\Tools\\7z.exe", 99);
    EXPECT_EQ(request, (LaunchRequest{99, u"Open", u"C:\\Tools\\7z.exe", std::nullopt, std::nullopt, 10}));
}

} // namespace
} // namespace kelvory
