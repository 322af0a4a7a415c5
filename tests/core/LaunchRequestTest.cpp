#include "LaunchRequest.h"

#include <gtest/gtest.h>

namespace kelvory {
namespace {

TEST(FixedActionRequest, EachButtonAsksTheShellForExactlyItsStart)
{
    constexpr WindowId kOwner = 0x1234;
    struct Case {
        FixedAction action;
        std::u16string file;
        std::optional<std::u16string> parameters;
    };
    const Case cases[] = {
        {FixedAction::CommandPrompt, u"cmd.exe", std::nullopt},
        {FixedAction::TaskManager, u"taskmgr.exe", std::nullopt},
        {FixedAction::ShutDown, u"wpeutil", u"shutdown"},
        {FixedAction::Restart, u"wpeutil", u"reboot"},
    };
    for (const Case& c : cases) {
        const LaunchRequest request = FixedActionRequest(c.action, kOwner);
        SCOPED_TRACE(std::string(request.file.begin(), request.file.end()));
        EXPECT_EQ(request.owner, kOwner);
        EXPECT_EQ(request.verb, u"Open");
        EXPECT_EQ(request.file, c.file);
        EXPECT_EQ(request.parameters, c.parameters);
        EXPECT_EQ(request.directory, std::nullopt);
        EXPECT_EQ(request.showMode, 10);
    }
}

TEST(FixedActionRequest, ShutDownAndRestartDifferOnlyInTheirParameters)
{
    LaunchRequest shutDown = FixedActionRequest(FixedAction::ShutDown, 7);
    const LaunchRequest restart = FixedActionRequest(FixedAction::Restart, 7);
    EXPECT_NE(shutDown, restart);
    shutDown.parameters = restart.parameters;
    EXPECT_EQ(shutDown, restart);
}

TEST(ProgramRequest, StartsThePathWithNoParametersAndNoDirectory)
{
    const LaunchRequest request = ProgramRequest(u"C:\\Tools\\7z.exe", 99);
    EXPECT_EQ(request, (LaunchRequest{99, u"Open", u"C:\\Tools\\7z.exe", std::nullopt, std::nullopt, 10}));
}

} // namespace
} // namespace kelvory
