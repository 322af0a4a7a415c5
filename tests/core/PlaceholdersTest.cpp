#include "Placeholders.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kelvory {
namespace {

using Variables = std::map<std::u16string, std::u16string, std::less<>>;

// Upper-cases ASCII letters only, which is all the placeholders need; the real
// upper-casing comes from the platform and is tested under Wine.
std::u16string UpperAscii(std::u16string_view text)
{
    std::u16string upper(text);
    for (char16_t& c : upper) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
    }
    return upper;
}

// Expands path with the given variables set and records every lookup.
struct Expansion {
    std::u16string result;
    std::vector<std::u16string> lookups;
};

Expansion Expand(std::u16string_view path, const Variables& variables)
{
    Expansion expansion;
    const LookupFunction lookup = [&](std::u16string_view name) {
        expansion.lookups.emplace_back(name);
        const auto found = variables.find(name);
        return found == variables.end() ? std::u16string() : found->second;
    };
    expansion.result = ExpandPathPlaceholders(path, lookup, UpperAscii);
    return expansion;
}

const Variables kStandard = {
    {u"programfiles", u"X:\\Program Files"},
    {u"systemroot", u"X:\\Windows"},
    {u"systemdrive", u"X:"},
};

const std::vector<std::u16string> kLookupOrder = {u"programfiles", u"systemroot", u"systemdrive"};

struct ExpansionCase {
    const char* name;
    std::u16string_view path;
    std::u16string_view expected;
};

TEST(ExpandPathPlaceholders, ReplacesTheThreePlaceholdersInAnyCase)
{
    const std::vector<ExpansionCase> cases = {
        {"lower case", u"%programfiles%\\Tool\\tool.exe", u"X:\\Program Files\\Tool\\tool.exe"},
        {"upper case", u"%PROGRAMFILES%\\Tool\\tool.exe", u"X:\\Program Files\\Tool\\tool.exe"},
        {"mixed case", u"%ProgramFiles%\\Tool\\tool.exe", u"X:\\Program Files\\Tool\\tool.exe"},
        {"repeated", u"%SystemRoot%\\a;%systemroot%\\b", u"X:\\Windows\\a;X:\\Windows\\b"},
        {"adjacent", u"%systemdrive%%systemroot%", u"X:X:\\Windows"},
        {"all three", u"%systemdrive%\\x %ProgramFiles% %SYSTEMROOT%", u"X:\\x X:\\Program Files X:\\Windows"},
        {"text keeps its case", u"aB%systemdrive%cD", u"aBX:cD"},
        {"unknown name untouched", u"%windir%\\notepad.exe", u"%windir%\\notepad.exe"},
        {"no closing percent", u"%systemroot\\notepad.exe", u"%systemroot\\notepad.exe"},
        {"no percent at all", u"C:\\Tools\\tool.exe", u"C:\\Tools\\tool.exe"},
        {"extra percent before", u"%%systemdrive%", u"%X:"},
        {"matches do not overlap", u"%systemdrive%systemdrive%", u"X:systemdrive%"},
        {"non-ASCII around", u"%systemdrive%\\Программы\\工具", u"X:\\Программы\\工具"},
    };
    for (const ExpansionCase& c : cases) {
        const Expansion expansion = Expand(c.path, kStandard);
        EXPECT_EQ(expansion.result, c.expected) << c.name;
        EXPECT_EQ(expansion.lookups, kLookupOrder) << c.name;
    }
}

TEST(ExpandPathPlaceholders, UnsetVariableRemovesItsPlaceholder)
{
    const Variables variables = {{u"systemdrive", u"X:"}};
    EXPECT_EQ(Expand(u"%programfiles%\\Tool\\tool.exe", variables).result, u"\\Tool\\tool.exe");
    EXPECT_EQ(Expand(u"%SystemRoot%%systemdrive%", variables).result, u"X:");
}

TEST(ExpandPathPlaceholders, LaterPassesSearchWhatEarlierPassesInserted)
{
    Variables variables = kStandard;
    variables[u"programfiles"] = u"%SystemRoot%\\Apps";
    EXPECT_EQ(Expand(u"%programfiles%\\tool.exe", variables).result, u"X:\\Windows\\Apps\\tool.exe");

    // The inserted value and the text after it only form a placeholder together.
    variables[u"programfiles"] = u"%system";
    EXPECT_EQ(Expand(u"%programfiles%drive%\\tool.exe", variables).result, u"X:\\tool.exe");
}

TEST(ExpandPathPlaceholders, NoPassSearchesItsOwnInsertions)
{
    Variables variables = kStandard;
    variables[u"systemroot"] = u"%SystemRoot%\\x";
    EXPECT_EQ(Expand(u"%systemroot%;%systemroot%", variables).result, u"%SystemRoot%\\x;%SystemRoot%\\x");

    variables[u"systemroot"] = u"%SYSTEM";
    EXPECT_EQ(Expand(u"%systemroot%root%", variables).result, u"%SYSTEMroot%");

    // The last pass's insertions are never searched by anything.
    variables = kStandard;
    variables[u"systemdrive"] = u"%ProgramFiles%%SystemRoot%%SystemDrive%";
    EXPECT_EQ(Expand(u"%systemdrive%\\", variables).result, u"%ProgramFiles%%SystemRoot%%SystemDrive%\\");
}

TEST(ExpandPathPlaceholders, EmptyPathStillLooksUpAllThree)
{
    const Expansion expansion = Expand(u"", kStandard);
    EXPECT_EQ(expansion.result, u"");
    EXPECT_EQ(expansion.lookups, kLookupOrder);
}

} // namespace
} // namespace kelvory
