#include "Environment.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvory {
namespace {

std::optional<std::wstring> CurrentValue(const std::wstring& name)
{
    const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), size));
    return value;
}

// Changes variables of this process for one test and puts them back afterwards.
// Expansion is tested in-process: Wine resets SystemDrive, SystemRoot and
// ProgramFiles in every process it starts, so a child would not see our values.
class ScopedVariables {
public:
    ScopedVariables() = default;
    ScopedVariables(const ScopedVariables&) = delete;
    ScopedVariables& operator=(const ScopedVariables&) = delete;

    ~ScopedVariables()
    {
        for (auto saved = m_saved.rbegin(); saved != m_saved.rend(); ++saved) {
            SetEnvironmentVariableW(saved->first.c_str(), saved->second ? saved->second->c_str() : nullptr);
        }
    }

    // Removes the variable under any spelling first, so it is set with exactly
    // the spelling given.
    void Set(const std::wstring& name, const wchar_t* value)
    {
        m_saved.emplace_back(name, CurrentValue(name));
        SetEnvironmentVariableW(name.c_str(), nullptr);
        if (value != nullptr) {
            ASSERT_TRUE(SetEnvironmentVariableW(name.c_str(), value));
        }
    }

private:
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> m_saved;
};

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
        EXPECT_EQ(GetEnvVar(L"KelvoryTestValue"), value) << value.size() << " characters";
    }
}

TEST(GetEnvVar, IsEmptyForUnsetAndEmptyVariables)
{
    ScopedVariables variables;
    variables.Set(L"KelvoryTestUnset", nullptr);
    variables.Set(L"KelvoryTestEmpty", L"");
    EXPECT_EQ(GetEnvVar(L"KelvoryTestUnset"), L"");
    EXPECT_EQ(GetEnvVar(L"KelvoryTestEmpty"), L"");
    EXPECT_EQ(GetEnvVar(L""), L"");
}

TEST(GetEnvVar, FindsNamesSpelledInAnyCase)
{
    ScopedVariables variables;
    variables.Set(L"KELVORYTESTCASE", L"upper");
    EXPECT_EQ(GetEnvVar(L"kelvorytestcase"), L"upper");
    EXPECT_EQ(GetEnvVar(L"KelvoryTestCase"), L"upper");
}

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
    EXPECT_EQ(ExpandPathPlaceholders(L"%ProgramFiles%\\Tool\\tool.exe"), L"Y:\\Programme\\Tool\\tool.exe");
    EXPECT_EQ(ExpandPathPlaceholders(L"%SYSTEMROOT%\\system32\\cmd.exe"), L"Y:\\Виндоус\\system32\\cmd.exe");
    EXPECT_EQ(ExpandPathPlaceholders(L"%systemdrive%%SystemRoot%"), L"Y:Y:\\Виндоус");
    EXPECT_EQ(ExpandPathPlaceholders(L"%windir%\\notepad.exe"), L"%windir%\\notepad.exe");
    EXPECT_EQ(ExpandPathPlaceholders(L""), L"");
}

TEST_F(ExpandPathPlaceholdersTest, KeepsTheRestOfThePathInItsOwnCase)
{
    // The platform upper-cases a copy only to find the placeholders; letters it
    // would change (Cyrillic) or keep as they are (ß) come through unchanged.
    EXPECT_EQ(ExpandPathPlaceholders(L"%SystemDrive%\\straße\\ёлка\\工具.exe"), L"Y:\\straße\\ёлка\\工具.exe");
}

TEST_F(ExpandPathPlaceholdersTest, UnsetVariableRemovesItsPlaceholder)
{
    m_variables.Set(L"ProgramFiles", nullptr);
    EXPECT_EQ(ExpandPathPlaceholders(L"%programfiles%\\Tool\\tool.exe"), L"\\Tool\\tool.exe");
}

TEST_F(ExpandPathPlaceholdersTest, ValueMayHoldALaterPlaceholder)
{
    m_variables.Set(L"ProgramFiles", L"%SystemDrive%\\Apps");
    EXPECT_EQ(ExpandPathPlaceholders(L"%programfiles%\\tool.exe"), L"Y:\\Apps\\tool.exe");
}

} // namespace
} // namespace kelvory
