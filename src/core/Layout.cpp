#include "Layout.h"

#include <cstdint>

namespace kelvory {

int MulDivRounded(int a, int b, int c)
{
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t magnitude = ((product < 0 ? -product : product) + (c < 0 ? -c : c) / 2) / (c < 0 ? -c : c);
    return static_cast<int>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

ScaledLayout ScaleLayout(const FormLayout& layout, int screenPixelsPerInch, const TextHeightFunction& measureTextHeight)
{
    ScaledLayout scaled;
    scaled.fontHeight = layout.fontHeight;
    if (screenPixelsPerInch != layout.pixelsPerInch) {
        scaled.fontHeight = MulDivRounded(layout.fontHeight, screenPixelsPerInch, layout.pixelsPerInch);
    }

    const int textHeight = measureTextHeight(scaled.fontHeight);
    const bool rescale = textHeight != layout.textHeight && textHeight > 0;
    auto scale = [&](int value) { return rescale ? MulDivRounded(value, textHeight, layout.textHeight) : value; };

    scaled.clientWidth = scale(layout.clientWidth);
    scaled.clientHeight = scale(layout.clientHeight);
    for (const ControlLayout& control : layout.controls) {
        scaled.controls.push_back({scale(control.left), scale(control.top), scale(control.width), scale(control.height)});
    }
    return scaled;
}

} // namespace kelvory
