#pragma once
// The stored layout of the main window Form1: pixels on a 96 pixels-per-inch
// screen where the text "0" measured 13 pixels high in the window's font. The
// fixed buttons' places are stored with the rest of each button, in the table
// of fixed buttons (Unit1.cpp).
#include "Layout.h"

namespace kelvory {

inline constexpr FormLayout kForm1Layout{
    .caption = u"Kelvory by Mira Solberg",
    .fontName = u"MS Sans Serif",
    .fontHeight = -11,
    .clientWidth = 198,
    .clientHeight = 61,
    .pixelsPerInch = 96,
    .textHeight = 13,
};

// The group box fills the client area.
inline constexpr ControlLayout kGroupBox1Layout{u"GroupBox1", 0, 0, kForm1Layout.clientWidth,
                                                kForm1Layout.clientHeight};

} // namespace kelvory
