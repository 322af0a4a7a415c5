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
        {u"C:\\x.exe", u"Two\r\nlines", u"Two lines\r\nC:\\x.exe"},
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

// Every surrogate pair of text is whole.
bool PairsWhole(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
        const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
        if (low || (high && (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF))) {
            return false;
        }
        i += high ? 1 : 0;
    }
    return true;
}

TEST(ProgramTooltip, APathBeyondWhatATooltipHoldsKeepsItsDriveAndFileName)
{
    // Room is left for the path after the title: it keeps as much of the
    // folders as fits, half from either end.
    const std::u16string folder = u"C:\\" + std::u16string(2040, u'f') + u"\\";
    EXPECT_EQ(ProgramTooltip(folder + u"tool.exe", u"Tool"),
              u"Tool\r\nC:\\" + std::u16string(502, u'f') + u"\u2026" + std::u16string(502, u'f') + u"\\tool.exe");

    // One unit short of the limit stays whole.
    const std::u16string fits(kTooltipTextSize - 1 - 6, u'p');
    EXPECT_EQ(ProgramTooltip(fits, u"Tool"), u"Tool\r\n" + fits);

    // A cut never separates the halves of a surrogate pair, wherever the
    // units before the pairs put it.
    std::u16string pairs;
    while (pairs.size() < kTooltipTextSize) {
        pairs += u"\U0001F527";
    }
    for (const std::u16string_view before : {u"C:\\", u"C:\\x"}) {
        for (const std::u16string_view description : {u"AB", u"ABC"}) {
            const std::u16string text = ProgramTooltip(std::u16string(before) + pairs, description);
            SCOPED_TRACE(Narrow(before) + " / " + Narrow(description));
            EXPECT_LE(text.size(), kTooltipTextSize - 1);
            EXPECT_NE(text.find(u'\u2026'), std::u16string::npos);
            EXPECT_TRUE(PairsWhole(text));
        }
    }
}

TEST(ProgramTooltip, TheFirstLineIsOneLineOfWhatTheProgramSaysCutToATitlesLength)
{
    const std::u16string words = [] {
        std::u16string text;
        for (int i = 0; i < 6400; ++i) {
            text += u"word ";
        }
        return text;
    }();
    const struct {
        std::u16string description;
        std::u16string title;
    } cases[] = {
        // A description made to look like a path of its own cannot push the
        // real one out.
        {u"Notepad" + std::u16string(300, u' ') + u"X:\\Windows\\System32\\notepad.exe" + std::u16string(700, u' ') +
             u"x",
         u"Notepad X:\\Windows\\System32\\notepad.exe x"},
        {u"\tA\u00a0\u00a0B\u3000\u2028C \u0085\r\n", u"A B C"},
        {std::u16string(kTooltipTitleLength, u'a'), std::u16string(kTooltipTitleLength, u'a')},
        {std::u16string(kTooltipTitleLength + 1, u'a'), std::u16string(kTooltipTitleLength - 1, u'a') + u"\u2026"},
        {words, words.substr(0, kTooltipTitleLength - 1) + u"\u2026"},
        // A cut keeps a surrogate pair whole or leaves it out.
        {std::u16string(kTooltipTitleLength - 2, u'a') + u"\U0001F527b",
         std::u16string(kTooltipTitleLength - 2, u'a') + u"\u2026"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.title));
        EXPECT_EQ(ProgramTooltip(u"C:\\real.exe", c.description), c.title + u"\r\nC:\\real.exe");
    }
}

TEST(ProgramTooltip, BidirectionalControlsShowAsTheirCodePointsOnBothLines)
{
    const struct {
        std::u16string_view path;
        std::u16string_view description;
        std::u16string_view expected;
    } cases[] = {
        {u"C:\\Invoice\u202egpj.exe", u"", u"Invoice<U+202E>gpj.exe\r\nC:\\Invoice<U+202E>gpj.exe"},
        {u"C:\\a.exe", u"Invoice\u202egpj.exe", u"Invoice<U+202E>gpj.exe\r\nC:\\a.exe"},
        {u"C:\\a\u2067b\\c\u200f.exe", u"\u061c\u200e\u202a\u202b\u202c\u202d\u2066\u2068\u2069",
         u"<U+061C><U+200E><U+202A><U+202B><U+202C><U+202D><U+2066><U+2068><U+2069>\r\nC:\\a<U+2067>b\\c<U+200F>.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.expected));
        EXPECT_EQ(ProgramTooltip(c.path, c.description), c.expected);
    }
}

TEST(ProgramTooltip, ThePathLineIsShortenedInItsMiddleToTheWidthThatFits)
{
    // Here every unit is as wide as every other.
    const struct {
        std::u16string_view path;
        std::size_t width;
        std::u16string_view pathLine;
    } cases[] = {
        {u"C:\\Tools\\7-Zip\\7zFM.exe", 23, u"C:\\Tools\\7-Zip\\7zFM.exe"},
        {u"C:\\Program Files\\Vendor\\Tool\\tool.exe", 24, u"C:\\Progra\u2026\\Tool\\tool.exe"},
        {u"\\\\server\\share\\a\\b\\c\\d\\e\\f\\tool.exe", 30, u"\\\\server\\share\\a\\b\u2026\\f\\tool.exe"},
        {u"tools\\sub\\deeper\\tool.exe", 16, u"too\u2026per\\tool.exe"},
        // A file name too long to keep whole keeps its start and extension.
        {u"C:\\nnnnnnnnnnnnnnnnnnnnnnnnnnnnnn.exe", 24, u"C:\\nnnnnnnnnn\u2026nnnnnn.exe"},
        // Where nothing fits, only the ellipsis says there is a path.
        {u"C:\\Tools\\tool.exe", 0, u"\u2026"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.path));
        const std::u16string text =
            ProgramTooltip(c.path, u"", [&](std::u16string_view line) { return line.size() <= c.width; });
        const std::size_t lineBreak = text.find(u"\r\n");
        ASSERT_NE(lineBreak, std::u16string::npos);
        EXPECT_EQ(text.substr(lineBreak + 2), c.pathLine);
    }

    // A title wider than the screen is cut to its width as well.
    EXPECT_EQ(
        ProgramTooltip(u"C:\\a.exe", u"Launch recorder", [](std::u16string_view line) { return line.size() <= 10; }),
        u"Launch re\u2026\r\nC:\\a.exe");
}

} // namespace
} // namespace kelvory
