#include "ConfigRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvory {
namespace {

struct PathCase {
    const char* name;
    std::u16string_view executable;
    std::u16string_view expected;
};

TEST(ConfigFilePathBeside, KeepsEverythingUpToTheLastBackslashOrColon)
{
    const std::vector<PathCase> cases = {
        {"backslash", u"C:\\Tools\\kelvory.exe", u"C:\\Tools\\kelvory.ini"},
        {"colon", u"X:kelvory.exe", u"X:kelvory.ini"},
        {"colon after the last backslash", u"C:\\Tools\\file:stream", u"C:\\Tools\\file:kelvory.ini"},
        {"forward slash is no delimiter", u"C:\\Tools/bin/kelvory.exe", u"C:\\kelvory.ini"},
        {"forward slashes only", u"tools/kelvory.exe", u"kelvory.ini"},
        {"no delimiter", u"kelvory.exe", u"kelvory.ini"},
        {"empty", u"", u"kelvory.ini"},
        {"trailing backslash", u"C:\\Tools\\", u"C:\\Tools\\kelvory.ini"},
        {"nothing normalised", u"\\\\?\\C:\\a\\\\.\\..\\Kelvory.EXE", u"\\\\?\\C:\\a\\\\.\\..\\kelvory.ini"},
        {"UNC share", u"\\\\server\\share\\pe\\k.exe", u"\\\\server\\share\\pe\\kelvory.ini"},
        {"non-ASCII folders", u"D:\\Программы\\工具\\kelvory.exe", u"D:\\Программы\\工具\\kelvory.ini"},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(ConfigFilePathBeside(c.executable), c.expected) << c.name;
    }
}

TEST(ConfigSectionName, IsProgAndTheDecimalNumber)
{
    EXPECT_EQ(ConfigSectionName(1), u"prog1");
    EXPECT_EQ(ConfigSectionName(8), u"prog8");
    EXPECT_EQ(ConfigSectionName(10), u"prog10");
}

} // namespace
} // namespace kelvory
