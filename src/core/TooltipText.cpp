#include "TooltipText.h"

#include <algorithm>
#include <utility>

namespace kelvory {

namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";
constexpr char16_t kEllipsis = u'\u2026';

// C0 and C1 control characters would break the line or show as boxes.
bool IsControl(char16_t unit)
{
    return unit < u' ' || (unit >= u'\x7f' && unit <= u'\x9f');
}

// The bidirectional formatting controls: embeddings, overrides, isolates and
// the implicit marks. Any of them can make a name read backwards.
bool IsBidiControl(char16_t unit)
{
    return unit == u'\u061c' || unit == u'\u200e' || unit == u'\u200f' || (unit >= u'\u202a' && unit <= u'\u202e') ||
           (unit >= u'\u2066' && unit <= u'\u2069');
}

// Unicode's white space, and the control characters with it.
bool IsSpace(char16_t unit)
{
    return IsControl(unit) || unit == u' ' || unit == u'\u00a0' || unit == u'\u1680' ||
           (unit >= u'\u2000' && unit <= u'\u200a') || unit == u'\u2028' || unit == u'\u2029' || unit == u'\u202f' ||
           unit == u'\u205f' || unit == u'\u3000';
}

bool IsSeparator(char16_t unit)
{
    return unit == u'\\' || unit == u'/';
}

// Text as it is shown: a control character as a space, a bidirectional control
// as its code point.
void AppendVisible(std::u16string& line, std::u16string_view text)
{
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    for (const char16_t unit : text) {
        if (IsControl(unit)) {
            line += u' ';
        } else if (IsBidiControl(unit)) {
            line += u"<U+";
            for (int shift = 12; shift >= 0; shift -= 4) {
                line += kDigits[(unit >> shift) & 0xF];
            }
            line += u'>';
        } else {
            line += unit;
        }
    }
}

// A cut after the first end units never keeps the first half of a surrogate
// pair without its second, nor one before begin the second without its first.
std::size_t HeadEnd(std::u16string_view text, std::size_t end)
{
    return end > 0 && end < text.size() && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF ? end - 1 : end;
}
std::size_t TailBegin(std::u16string_view text, std::size_t begin)
{
    return begin > 0 && begin < text.size() && text[begin] >= 0xDC00 && text[begin] <= 0xDFFF ? begin + 1 : begin;
}

// The largest n up to most for which fitting(n) holds, where it holds for n
// whenever it holds for n + 1; 0 when it holds for none.
template <class Fitting>
std::size_t Largest(std::size_t most, const Fitting& fitting)
{
    std::size_t low = 0;
    while (low < most) {
        const std::size_t middle = low + (most - low + 1) / 2;
        if (fitting(middle)) {
            low = middle;
        } else {
            most = middle - 1;
        }
    }
    return low;
}

// One line of a title: it ends at its first zero, and every run of white space
// becomes one space, none at either end. Nothing past what a title can show is
// looked at, however long the text.
std::u16string OneLine(std::u16string_view text)
{
    text = text.substr(0, text.find(u'\0'));
    std::u16string line;
    bool space = false;
    for (const char16_t unit : text) {
        if (IsSpace(unit)) {
            space = !line.empty();
            continue;
        }
        if (line.size() > kTooltipTitleLength) {
            break;
        }
        if (std::exchange(space, false)) {
            line += u' ';
        }
        line += unit;
    }
    return line;
}

// The title line, cut at its end with an ellipsis where it does not fit.
std::u16string Title(std::u16string_view text, const LineFits& fits)
{
    const std::u16string line = OneLine(text);
    const auto fitting = [&](const std::u16string& shown) {
        return shown.size() <= kTooltipTitleLength && (!fits || fits(shown));
    };
    const auto cut = [&](std::size_t keep) {
        std::u16string shown;
        AppendVisible(shown, std::u16string_view(line).substr(0, HeadEnd(line, keep)));
        return shown + kEllipsis;
    };
    std::u16string whole;
    AppendVisible(whole, line);
    if (line.empty() || fitting(whole)) {
        return whole;
    }
    return cut(Largest(line.size() - 1, [&](std::size_t keep) { return fitting(cut(keep)); }));
}

// Where the file name begins: after the last backslash, slash or drive colon.
std::size_t NameStart(std::u16string_view path)
{
    const std::size_t separator = path.find_last_of(u"\\/:");
    return separator == std::u16string_view::npos ? 0 : separator + 1;
}

// The drive ("C:\", "C:") or the share ("\\server\share\", "\\?\C:\") that a
// path begins with; nothing for a relative path.
std::size_t RootLength(std::u16string_view path)
{
    if (path.size() >= 2 && path[1] == u':') {
        return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        int separators = 2;
        for (std::size_t i = 2; i < path.size(); ++i) {
            if (IsSeparator(path[i]) && ++separators == 4) {
                return i + 1;
            }
        }
        return path.size();
    }
    return 0;
}

// The path line, with room units at most: the whole path where it fits, else
// the path shortened in its middle. The drive or share and the file name with
// its separator are kept whole, and as much of the folders between as fits,
// half from either end; a file name too long for that is shortened in its own
// middle, keeping its extension; a root too long for even that goes too.
std::u16string PathLine(std::u16string_view path, std::size_t room, const LineFits& fits)
{
    const auto fitting = [&](const std::u16string& line) { return line.size() <= room && (!fits || fits(line)); };
    // A shown path is never shorter than the path itself.
    if (path.size() <= room) {
        std::u16string whole;
        AppendVisible(whole, path);
        if (fitting(whole)) {
            return whole;
        }
    }

    const std::size_t nameStart = NameStart(path);
    const std::size_t root = std::min(RootLength(path), nameStart);
    const std::size_t name = path.size() - (nameStart > root ? nameStart - 1 : nameStart);
    const std::pair<std::size_t, std::size_t> keptWhole[] = {{root, name}, {root, 0}, {0, 0}};
    for (const auto& [front, back] : keptWhole) {
        // Of the middle between front and back, keep units from both its ends.
        const std::size_t middle = path.size() - front - back;
        const auto shortened = [&, front = front, back = back](std::size_t keep) {
            std::u16string line;
            AppendVisible(line, path.substr(0, HeadEnd(path, front + keep - keep / 2)));
            line += kEllipsis;
            AppendVisible(line, path.substr(TailBegin(path, path.size() - back - keep / 2)));
            return line;
        };
        if (middle > 0 && fitting(shortened(0))) {
            const std::size_t most = std::min(middle - 1, room);
            return shortened(Largest(most, [&](std::size_t keep) { return fitting(shortened(keep)); }));
        }
    }
    return std::u16string(1, kEllipsis);
}

} // namespace

std::u16string ProgramTooltip(std::u16string_view path, std::u16string_view description, const LineFits& fits)
{
    if (path.empty()) {
        return {};
    }
    std::u16string title = Title(description, fits);
    if (title.empty()) {
        title = Title(path.substr(NameStart(path)), fits);
    }
    constexpr std::size_t kLongest = kTooltipTextSize - 1;
    if (title.empty()) {
        return PathLine(path, kLongest, fits);
    }
    return title + std::u16string(kLineBreak) + PathLine(path, kLongest - title.size() - kLineBreak.size(), fits);
}

} // namespace kelvory
