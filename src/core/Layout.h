#pragma once
// The stored layout of a window and how it is fitted to the screen when loaded.
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace kelvory {

struct ControlLayout {
    std::u16string_view name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int iconResource = 0; // images only
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
    std::span<const ControlLayout> controls;
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
    std::vector<Bounds> controls; // in the order of FormLayout::controls
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
