#include "Environment.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace kelvory {
namespace {

using test::ScopedVariables;
using test::Utf16;

TEST(GetEnvVar, ReturnsTheWholeValueWhateverItsLength)
{
    const std::vector<std::wstring> values = {
        L"X:",
        L"C:\\Программы\\工具 ツール",
        std::wstring(260, L'p'),
        std::wstring(5000, L'л') + L"end",
        std::wstring(32000, L'z'),
    };
    for (const std::wstring& value : values) {
        ScopedVariables variables;
        variables.Set(L"KelvoryTestValue", value.c_str());
        EXPECT_EQ(GetEnvVar(u"KelvoryTestValue"), Utf16(value)) << value.size() << " characters";
    }
}

TEST(GetEnvVar, IsEmptyForUnsetAndEmptyVariables)
{
    ScopedVariables variables;
    variables.Set(L"KelvoryTestUnset", nullptr);
    variables.Set(L"KelvoryTestEmpty", L"");
    EXPECT_EQ(GetEnvVar(u"KelvoryTestUnset"), u"");
    EXPECT_EQ(GetEnvVar(u"KelvoryTestEmpty"), u"");
    EXPECT_EQ(GetEnvVar(u""), u"");
}

TEST(GetEnvVar, FindsNamesSpelledInAnyCase)
{
    ScopedVariables variables;
    variables.Set(L"KELVORYTESTCASE", L"upper");
    EXPECT_EQ(GetEnvVar(u"kelvorytestcase"), u"upper");
    EXPECT_EQ(GetEnvVar(u"KelvoryTestCase"), u"upper");
}

// Expansion is tested in-process: Wine resets SystemDrive, SystemRoot and
// ProgramFiles in every process it starts, so a child would not see our values.
class ExpandPathPlaceholdersTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_variables.Set(L"PROGRAMFILES", L"Y:\\Programme");
        m_variables.Set(L"SystemRoot", L"Y:\\Виндоус");
        m_variables.Set(L"sYsTeMdRiVe", L"Y:");
    }

    ScopedVariables m_variables;
};

TEST_F(ExpandPathPlaceholdersTest, UsesTheVariablesOfThisProcessHoweverTheyAreSpelled)
{
    EXPECT_EQ(ExpandPathPlaceholders(u"%ProgramFiles%\\Tool\\tool.exe"), u"Y:\\Programme\\Tool\\tool.exe");
    EXPECT_EQ(ExpandPathPlaceholders(u"%SYSTEMROOT%\\system32\\cmd.exe"), u"Y:\\Виндоус\\system32\\cmd.exe");
    EXPECT_EQ(ExpandPathPlaceholders(u"%systemdrive%%SystemRoot%"), u"Y:Y:\\Виндоус");
    EXPECT_EQ(ExpandPathPlaceholders(u"%windir%\\notepad.exe"), u"%windir%\\notepad.exe");
    EXPECT_EQ(ExpandPathPlaceholders(u""), u"");
}

TEST_F(ExpandPathPlaceholdersTest, KeepsTheRestOfThePathInItsOwnCase)
{
    // The platform upper-cases a copy only to find the placeholders; letters it
    // would change (Cyrillic) or keep as they are (ß) come through unchanged.
    EXPECT_EQ(ExpandPathPlaceholders(u"%SystemDrive%\\straße\\ёлка\\工具.exe"), u"Y:\\straße\\ёлка\\工具.exe");
}

TEST_F(ExpandPathPlaceholdersTest, UnsetVariableRemovesItsPlaceholder)
{
    m_variables.Set(L"ProgramFiles", nullptr);
    EXPECT_EQ(ExpandPathPlaceholders(u"%programfiles%\\Tool\\tool.exe"), u"\\Tool\\tool.exe");
}

TEST_F(ExpandPathPlaceholdersTest, ValueMayHoldALaterPlaceholder)
{
    m_variables.Set(L"ProgramFiles", L"%SystemDrive%\\Apps");
    EXPECT_EQ(ExpandPathPlaceholders(u"%programfiles%\\tool.exe"), u"Y:\\Apps\\tool.exe");
}

} // namespace
} // namespace kelvory
