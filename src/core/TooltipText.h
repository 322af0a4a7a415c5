#pragma once
// What a configured button's tooltip says: the program a click would start,
// with its path. (The fixed buttons' texts stand in their table.)
#include <cstddef>
#include <string>
#include <string_view>

namespace kelvory {

// The most text a tooltip takes, in UTF-16 units with its terminating zero.
inline constexpr std::size_t kTooltipTextSize = 1024;

// The tooltip of a configured button whose click would start path (already
// expanded), given the program's description (empty when it has none): the
// description, or without one the path's file name, and the path on a second
// line. Empty when path is empty, since such a click starts nothing. Text that
// would not fit in a tooltip is cut and ends in an ellipsis.
std::u16string ProgramTooltip(std::u16string_view path, std::u16string_view description);

} // namespace kelvory
