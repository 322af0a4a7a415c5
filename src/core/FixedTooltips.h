#pragma once
// What the fixed buttons' tooltips say, in their row's order. The last two act
// at once, and say so.
#include <string_view>

namespace kelvory {

inline constexpr std::u16string_view kCommandPromptTooltip = u"Command Prompt";
inline constexpr std::u16string_view kTaskManagerTooltip = u"Task Manager";
inline constexpr std::u16string_view kShutDownTooltip = u"Shut down now";
inline constexpr std::u16string_view kRestartTooltip = u"Restart now";

} // namespace kelvory
