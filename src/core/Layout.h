#pragma once
// The stored layout of a window and how it is fitted to the screen when loaded.
#include <functional>
#include <string_view>

namespace kelvory {

// A control of a stored layout: its name and its place in its parent.
struct ControlLayout {
    std::u16string_view name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct FormLayout {
    // Zero-terminated: the window system takes them as they are.
    const char16_t* caption = u"";
    const char16_t* fontName = u"";
    int fontHeight = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    // The screen the layout was drawn on: its density and the measured height
    // of the text "0" in the window's font.
    int pixelsPerInch = 96;
    int textHeight = 13;
};

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Bounds&) const = default;
};

struct ScaledLayout {
    int fontHeight = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    // Stored positions and sizes scale by the measured over the stored text
    // height; when the two are equal, they stay as stored.
    int measuredTextHeight = 0;
    int storedTextHeight = 0;

    // A stored position or size as it is on this screen.
    int Scale(int stored) const;
    // A stored control's place as it is on this screen.
    Bounds Place(const ControlLayout& control) const;
};

// Measures the height of the text "0" in the window's font of the given height.
using TextHeightFunction = std::function<int(int fontHeight)>;

// The layout as loaded on this screen: the font follows the screen's density,
// and only when the text then measures differently from the stored height are
// the positions and sizes scaled, by new height over stored height.
ScaledLayout ScaleLayout(const FormLayout& layout, int screenPixelsPerInch, const TextHeightFunction& measureTextHeight);

// a * b / c rounded half away from zero, as the window system's MulDiv does.
int MulDivRounded(int a, int b, int c);

} // namespace kelvory
