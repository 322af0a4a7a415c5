#include "Startup.h"

#include <gtest/gtest.h>

namespace kelvory {
namespace {

// ASCII is enough here; the platform's own lower-casing is used in the program.
void AsciiLower(std::u16string& text)
{
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
}

TEST(ApplicationTitle, IsTheFileNameCutAtItsFirstPeriodWithTheRestInLowerCase)
{
    const struct {
        std::u16string path;
        std::u16string title;
    } cases[] = {
        {u"X:\\Windows\\System32\\KELVORY.EXE", u"Kelvory"},
        {u"C:\\tools\\kelvory.exe", u"kelvory"},
        {u"D:\\My.Tools\\PE.Shell.v2.exe", u"Pe"},       // the folder's period does not count
        {u"C:\\a/b\\Kel/Vory.exe", u"Kel/vory"},        // only the backslash separates
        {u"Launcher", u"Launcher"},                      // no folder, no extension
        {u"C:\\x\\.hidden.exe", u""},                    // the name starts with its period
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ApplicationTitle(c.path, AsciiLower), c.title);
    }
}

TEST(CentredPosition, CentresInTheWorkAreaWithTruncatingDivisionAndClampsToTheVirtualScreen)
{
    const struct {
        Size workArea;
        Point virtualOrigin;
        Size window;
        Point expected;
    } cases[] = {
        {{1024, 768}, {0, 0}, {204, 83}, {410, 342}},
        {{1024, 738}, {0, 0}, {205, 84}, {409, 327}},        // odd remainders are dropped
        {{1024, 768}, {0, 0}, {1600, 900}, {0, 0}},          // wider than the screen: raised to its edge
        {{1024, 768}, {-1280, -200}, {1600, 900}, {-288, -66}}, // a monitor to the left lets it go negative
        {{1024, 768}, {0, 0}, {1025, 83}, {0, 342}},         // -1 / 2 truncates to 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CentredPosition(c.workArea, c.virtualOrigin, c.window), c.expected);
    }
}

TEST(FirstShowFor, OnlyMaximisedAndMinimisedWithoutActivationChangeTheFirstShow)
{
    EXPECT_EQ(FirstShowFor(3), FirstShow::Maximized);  // SW_SHOWMAXIMIZED
    EXPECT_EQ(FirstShowFor(7), FirstShow::Minimized);  // SW_SHOWMINNOACTIVE
    for (int other : {0, 1, 2, 4, 5, 6, 8, 9, 10, 11}) {
        EXPECT_EQ(FirstShowFor(other), FirstShow::Normal) << other;
    }
}

} // namespace
} // namespace kelvory
