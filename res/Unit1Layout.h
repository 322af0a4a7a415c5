#pragma once
// The stored layout of the main window Form1: pixels on a 96 pixels-per-inch
// screen where the text "0" measured 13 pixels high in the window's font.
#include "Layout.h"
#include "resource.h"

#include <cstddef>

namespace kelvory {

// Where each control stands in kForm1Controls, which is also the order in which
// the controls are made.
enum Form1Control : std::size_t { kGroupBox1, kImage3, kImage2, kImage4, kImage6, kForm1ControlCount };

inline constexpr ControlLayout kForm1Controls[kForm1ControlCount] = {
    {u"GroupBox1", 0, 0, 198, 61},
    {u"Image3", 8, 16, 32, 32, IDI_COMMAND_PROMPT},
    {u"Image2", 56, 16, 32, 32, IDI_TASK_MANAGER},
    {u"Image4", 104, 16, 32, 32, IDI_SHUT_DOWN},
    {u"Image6", 152, 16, 32, 32, IDI_RESTART},
};
static_assert(kForm1Controls[kGroupBox1].name == u"GroupBox1" && kForm1Controls[kImage3].name == u"Image3" &&
              kForm1Controls[kImage2].name == u"Image2" && kForm1Controls[kImage4].name == u"Image4" &&
              kForm1Controls[kImage6].name == u"Image6");

inline constexpr FormLayout kForm1Layout{
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
