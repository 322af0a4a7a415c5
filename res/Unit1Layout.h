#pragma once
// The stored layout of the main window Form1: pixels on a 96 pixels-per-inch
// screen where the text "0" measured 13 pixels high in the window's font.
#include "Layout.h"
#include "resource.h"

namespace kelvory {

inline constexpr ControlLayout kForm1Controls[] = {
    {u"GroupBox1", ControlKind::GroupBox, 0, 0, 198, 61},
    {u"Image3", ControlKind::Image, 8, 16, 32, 32, IDI_COMMAND_PROMPT},
    {u"Image2", ControlKind::Image, 56, 16, 32, 32, IDI_TASK_MANAGER},
    {u"Image4", ControlKind::Image, 104, 16, 32, 32, IDI_SHUT_DOWN},
    {u"Image6", ControlKind::Image, 152, 16, 32, 32, IDI_RESTART},
};

inline constexpr FormLayout kForm1Layout{
    .name = u"Form1",
    .className = u"TForm1",
    .caption = u"Kelvory by Mira Solberg",
    .fontName = u"MS Sans Serif",
    .fontHeight = -11,
    .clientWidth = 198,
    .clientHeight = 61,
    .pixelsPerInch = 96,
    .textHeight = 13,
    .controls = kForm1Controls,
};

} // namespace kelvory
