#pragma once
// The row of buttons in the group box, in pixels: the stored layout's for the
// fixed buttons (scaled with it when the screen's text measures otherwise),
// and plain pixels for the configured buttons, which are never scaled.
namespace kelvory {

inline constexpr int kButtonTop = 16;
inline constexpr int kButtonSize = 32;
// From one button's left edge to the next one's; also how much each
// configured button widens the window.
inline constexpr int kButtonPitch = 48;
inline constexpr int kFirstButtonLeft = 8;

// The left edge of the fixed button at this place in the row.
constexpr int FixedButtonLeft(int place)
{
    return kFirstButtonLeft + place * kButtonPitch;
}

// A configured button sits at the window's outer width, just widened for it,
// minus this: with a two-pixel frame that continues the fixed buttons' pitch.
inline constexpr int kProgramButtonInset = 50;

// The keyboard selection's dotted frame lies this far outside its button.
inline constexpr int kSelectionFrameInset = 2;

} // namespace kelvory
