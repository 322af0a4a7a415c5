#pragma once
// Start-up rules that need no window: the application title, where the main
// window first appears, and how the start's show command is honoured.
#include <functional>
#include <string>
#include <string_view>

namespace kelvory {

// Lower-cases text in place the way the platform does.
using LowerCaseFunction = std::function<void(std::u16string&)>;

// The executable's file name after its last backslash, cut at its first period,
// every character after the first in lower case: "KELVORY.EXE" gives "Kelvory".
std::u16string ApplicationTitle(std::u16string_view modulePath, const LowerCaseFunction& lowerCase);

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

// The first position of the main window: centred in the primary work area's
// size (its own offsets are not added) with truncating division, then raised to
// the virtual screen's left and top edges.
Point CentredPosition(Size workArea, Point virtualScreenOrigin, Size window);

enum class FirstShow { Normal, Maximized, Minimized };

// The window system's show commands that the first show honours, as numbers:
// the core has no <windows.h>.
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowMinNoActive = 7;

// The start's show command (STARTUPINFO.wShowWindow, or none) as the first show:
// maximised stays maximised, minimised without activation starts minimised, and
// everything else is a normal show.
FirstShow FirstShowFor(int startShowCommand);

} // namespace kelvory
