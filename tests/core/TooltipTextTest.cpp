#include "TooltipText.h"

#include <gtest/gtest.h>

namespace kelvory {
namespace {

std::string Narrow(std::u16string_view text)
{
    std::string narrow;
    for (char16_t unit : text) {
        narrow += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return narrow;
}

TEST(ProgramTooltip, NamesTheProgramAndGivesItsPathOnASecondLine)
{
    const struct {
        std::u16string_view path;
        std::u16string_view description;
        std::u16string_view expected;
    } cases[] = {
        {u"C:\\Tools\\7zFM.exe", u"7-Zip File Manager", u"7-Zip File Manager\r\nC:\\Tools\\7zFM.exe"},
        // Without a description, the file name takes its place.
        {u"C:\\Tools\\7zFM.exe", u"", u"7zFM.exe\r\nC:\\Tools\\7zFM.exe"},
        {u"X:tool.exe", u"", u"tool.exe\r\nX:tool.exe"},
        {u"tools/a b.exe", u"", u"a b.exe\r\ntools/a b.exe"},
        {u"notepad", u"", u"notepad\r\nnotepad"},
        // Blanks, control characters and anything after a zero are no description.
        {u"C:\\x.exe", u"  \t ", u"x.exe\r\nC:\\x.exe"},
        {u"C:\\x.exe", std::u16string_view(u"\0junk", 5), u"x.exe\r\nC:\\x.exe"},
        {u"C:\\x.exe", std::u16string_view(u" Editor\0junk", 12), u"Editor\r\nC:\\x.exe"},
        {u"C:\\x.exe", u"Two\r\nlines", u"Two  lines\r\nC:\\x.exe"},
        // A path without a file name is shown alone.
        {u"C:\\Tools\\", u"", u"C:\\Tools\\"},
        // A path the click would start as it stands is shown as it stands.
        {u"C:\\a.exe ", u"A", u"A\r\nC:\\a.exe "},
        // Nothing to start, nothing to show, whatever the description.
        {u"", u"Editor", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.path) + " / " + Narrow(c.description));
        EXPECT_EQ(ProgramTooltip(c.path, c.description), c.expected);
    }
}

TEST(ProgramTooltip, TextBeyondWhatATooltipHoldsIsCutWithAnEllipsis)
{
    const std::u16string folder = u"C:\\" + std::u16string(2040, u'f') + u"\\";
    const std::u16string text = ProgramTooltip(folder + u"tool.exe", u"Tool");
    ASSERT_EQ(text.size(), kTooltipTextSize - 1);
    EXPECT_EQ(text.substr(0, 9), u"Tool\r\nC:\\");
    EXPECT_EQ(text.back(), u'\u2026');

    // One unit short of the limit stays whole.
    const std::u16string fits(kTooltipTextSize - 1 - 6, u'p');
    EXPECT_EQ(ProgramTooltip(fits, u"Tool"), u"Tool\r\n" + fits);

    // A cut never separates the halves of a surrogate pair.
    std::u16string pairs;
    while (pairs.size() < kTooltipTextSize) {
        pairs += u"\U0001F527";
    }
    // Seven units before the pairs put a first half at the last place kept.
    const std::u16string cut = ProgramTooltip(u"C:\\" + pairs, u"AB");
    ASSERT_LE(cut.size(), kTooltipTextSize - 1);
    const char16_t beforeEllipsis = cut[cut.size() - 2];
    EXPECT_FALSE(beforeEllipsis >= 0xD800 && beforeEllipsis <= 0xDBFF);
    EXPECT_EQ(cut.back(), u'\u2026');
}

} // namespace
} // namespace kelvory
