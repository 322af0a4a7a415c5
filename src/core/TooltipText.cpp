#include "TooltipText.h"

namespace kelvory {

namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";
constexpr char16_t kEllipsis = u'\u2026';

// Control characters would break the line or show as boxes.
std::u16string OneLine(std::u16string_view text)
{
    std::u16string line(text);
    for (char16_t& unit : line) {
        if (unit < u' ' || unit == u'\x7f') {
            unit = u' ';
        }
    }
    return line;
}

// A description ends at its first zero, and blanks at either end say nothing.
std::u16string Title(std::u16string_view text)
{
    const std::u16string line = OneLine(text.substr(0, text.find(u'\0')));
    const std::size_t first = line.find_first_not_of(u' ');
    if (first == std::u16string::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(u' ') - first + 1);
}

// The part after the last backslash, slash or drive colon.
std::u16string_view FileName(std::u16string_view path)
{
    const std::size_t separator = path.find_last_of(u"\\/:");
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

void CutToTooltip(std::u16string& text)
{
    constexpr std::size_t kLongest = kTooltipTextSize - 1;
    if (text.size() <= kLongest) {
        return;
    }
    std::size_t keep = kLongest - 1;
    // Never keep the first half of a surrogate pair without its second.
    if (text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) {
        --keep;
    }
    text.resize(keep);
    text += kEllipsis;
}

} // namespace

std::u16string ProgramTooltip(std::u16string_view path, std::u16string_view description)
{
    if (path.empty()) {
        return {};
    }
    std::u16string title = Title(description);
    if (title.empty()) {
        title = Title(FileName(path));
    }
    std::u16string text = OneLine(path);
    if (!title.empty()) {
        text = title + std::u16string(kLineBreak) + text;
    }
    CutToTooltip(text);
    return text;
}

} // namespace kelvory
