#pragma once
// What a configured button's tooltip says: the program a click would start,
// with its path. (The fixed buttons' texts stand in their table.) What a
// configured file says about itself, its description and its name, is not
// trusted: it is shown on one line of its own, cut, and can neither push the
// real path out of the tooltip nor reorder what is shown.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kelvory {

// The most text a tooltip takes, in UTF-16 units with its terminating zero.
inline constexpr std::size_t kTooltipTextSize = 1024;

// The longest first line of a configured button's tooltip, in UTF-16 units,
// its ellipsis included.
inline constexpr std::size_t kTooltipTitleLength = 100;

// Whether one line of text fits the width the tooltip may take on the screen.
using LineFits = std::function<bool(std::u16string_view line)>;

// The tooltip of a configured button whose click would start path (already
// expanded), given the program's description (empty when it has none). Empty
// when path is empty, since such a click starts nothing.
//
// The first line is the description, or without one the path's file name: it
// ends at a zero, its runs of white space and control characters become one
// space, and it is cut with an ellipsis to kTooltipTitleLength units or to what
// fits. The second line is the path, always: whole where it fits, else
// shortened in the middle with an ellipsis, keeping its drive or share and its
// file name. On both lines a bidirectional formatting control shows as its code
// point, "<U+202E>", so it reorders nothing; '<' and '>' never occur in a
// Windows file name. A line fits when fits says so (without fits, every line
// does) and the whole text fits in kTooltipTextSize.
std::u16string ProgramTooltip(std::u16string_view path, std::u16string_view description, const LineFits& fits = {});

} // namespace kelvory
