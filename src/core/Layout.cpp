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
    // A font that cannot be measured leaves the stored pixels as they are.
    scaled.measuredTextHeight = textHeight > 0 ? textHeight : layout.textHeight;
    scaled.storedTextHeight = layout.textHeight;
    scaled.clientWidth = scaled.Scale(layout.clientWidth);
    scaled.clientHeight = scaled.Scale(layout.clientHeight);
    return scaled;
}

int ScaledLayout::Scale(int stored) const
{
    return measuredTextHeight == storedTextHeight ? stored
                                                  : MulDivRounded(stored, measuredTextHeight, storedTextHeight);
}

Bounds ScaledLayout::Place(const ControlLayout& control) const
{
    return {Scale(control.left), Scale(control.top), Scale(control.width), Scale(control.height)};
}

} // namespace kelvory
