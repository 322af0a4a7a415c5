#include "Placeholders.h"

#include <array>

namespace kelvory {

namespace {

struct Placeholder {
    std::u16string_view text;
    std::u16string_view variable;
};

constexpr std::array<Placeholder, 3> kPlaceholders{{
    {u"%programfiles%", u"programfiles"},
    {u"%systemroot%", u"systemroot"},
    {u"%systemdrive%", u"systemdrive"},
}};

std::u16string ReplaceAll(const std::u16string& text, const Placeholder& placeholder, const std::u16string& value,
                          const UpperCaseFunction& upperCase)
{
    // Matching happens in an upper-cased copy; since upper-casing keeps the
    // length, a position found there is the same position in the text, and the
    // characters around the matches are copied from the text in their own case.
    const std::u16string upperText = upperCase(text);
    const std::u16string pattern = upperCase(placeholder.text);
    if (upperText.size() != text.size() || pattern.empty()) {
        return text;
    }

    std::u16string result;
    size_t copied = 0;
    for (size_t found = upperText.find(pattern); found != std::u16string::npos;
         found = upperText.find(pattern, copied)) {
        result.append(text, copied, found - copied);
        result += value;
        // Searching on behind the match, in the text as it was, keeps a value
        // that contains the placeholder from being replaced again.
        copied = found + pattern.size();
    }
    result.append(text, copied, std::u16string::npos);
    return result;
}

} // namespace

std::u16string ExpandPathPlaceholders(std::u16string_view path, const LookupFunction& lookup,
                                      const UpperCaseFunction& upperCase)
{
    std::u16string text(path);
    for (const Placeholder& placeholder : kPlaceholders) {
        const std::u16string value = lookup(placeholder.variable);
        text = ReplaceAll(text, placeholder, value, upperCase);
    }
    return text;
}

} // namespace kelvory
