#pragma once
// The placeholders a configured path may use for folders that differ from one
// Windows image to the next: %programfiles%, %systemroot% and %systemdrive%.
#include <functional>
#include <string>
#include <string_view>

namespace kelvory {

// The value of an environment variable; empty when it is not set.
using LookupFunction = std::function<std::u16string(std::u16string_view name)>;
// The upper-case form of a text, exactly as long as the text.
using UpperCaseFunction = std::function<std::u16string(std::u16string_view text)>;

// Replaces the three placeholders, matched without regard to case, by the values
// of the variables programfiles, systemroot and systemdrive, in that order. Each
// placeholder is replaced in the text the previous one left; an unset variable
// removes its placeholder. Every variable is looked up, whether its placeholder
// occurs or not.
std::u16string ExpandPathPlaceholders(std::u16string_view path, const LookupFunction& lookup,
                                      const UpperCaseFunction& upperCase);

} // namespace kelvory
