#include "IconArt.h"

#include "resource.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace kelvory::icons {
namespace {

// A tiny bitmap font for the console prompt, one string per row, '#' lit.
struct Glyph {
    char character;
    std::vector<std::string_view> rows;
};

// 5x7: the classic console cell, for 48 px and up.
const std::vector<Glyph> kFontLarge = {
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {':', {"..", "##", "##", "..", "##", "##", ".."}},
    {'\\', {"#....", "#....", ".#...", "..#..", "...#.", "....#", "....#"}},
    {'>', {"#...", ".#..", "..#.", "...#", "..#.", ".#..", "#..."}},
};

// 3x5: the smallest that still reads, for 32 px and below.
const std::vector<Glyph> kFontSmall = {
    {'C', {".##", "#..", "#..", "#..", ".##"}},
    {':', {".", "#", ".", "#", "."}},
    {'\\', {"#..", "#..", ".#.", "..#", "..#"}},
    {'>', {"#..", ".#.", "..#", ".#.", "#.."}},
};

// Adds the text's lit cells as squares of `cell` pixels from (x, y), one cell of
// space between letters, and returns the x just past the last letter's gap.
int AddText(Scene& scene, const std::vector<Glyph>& font, std::string_view text, int x, int y, int cell,
            const Paint& paint)
{
    for (char c : text) {
        const auto glyph = std::find_if(font.begin(), font.end(), [c](const Glyph& g) { return g.character == c; });
        if (glyph == font.end()) {
            throw std::logic_error(std::string("no glyph for ") + c);
        }
        for (std::size_t row = 0; row < glyph->rows.size(); ++row) {
            for (std::size_t column = 0; column < glyph->rows[row].size(); ++column) {
                if (glyph->rows[row][column] == '#') {
                    const double left = x + static_cast<double>(column) * cell;
                    const double top = y + static_cast<double>(row) * cell;
                    scene.push_back({Rect(left, top, left + cell, top + cell), paint});
                }
            }
        }
        x += static_cast<int>(glyph->rows[0].size() + 1) * cell;
    }
    return x;
}

const Paint kWhitePaint = Solid(kWhite, kWhite);

// A window with a dark edge, a blue title bar and a client area, the common
// ground of the command prompt and the generic application.
struct WindowMetrics {
    double x0, y0, x1, y1; // outer edge
    double corner;
    double title; // height of the title bar inside the edge
    double edge;  // width of the dark edge
};

void AddWindow(Scene& scene, const WindowMetrics& w, const Paint& client)
{
    const double e = w.edge;
    const Shape inside = RoundRect(w.x0 + e, w.y0 + e, w.x1 - e, w.y1 - e, std::max(w.corner - e, 0.0));
    scene.push_back({RoundRect(w.x0, w.y0, w.x1, w.y1, w.corner), Solid(Rgb(0x2A2F37), kBlack)});
    scene.push_back({inside, Gradient(Rgb(0x5A95EE), Rgb(0x1D53BE), w.y0 + e, w.y0 + e + w.title, kBlue)});
    scene.push_back({Intersect(inside, Rect(w.x0, w.y0 + e + w.title, w.x1, w.y1)), client});
}

// Minimise, maximise and close at the right of the title bar, for the sizes
// with room for them: square boxes of `box` pixels, the last ending at `right`,
// drawn with strokes `stroke` pixels wide, all on whole pixels.
void AddTitleButtons(Scene& scene, int right, int top, int box, int stroke)
{
    const int in = static_cast<int>(std::lround(box * 0.2));
    const int gap = std::max(1, box / 5);
    int x = right - 3 * box - 2 * gap;
    scene.push_back({Rect(x + in, top + box - in - stroke, x + box - in, top + box - in), kWhitePaint});
    x += box + gap;
    scene.push_back({Rect(x + in, top + in, x + box - in, top + box - in), kWhitePaint});
    // A big enough maximise box gets the thicker top edge of a window.
    const int thickTop = box >= 10 ? stroke / 2 + 1 : 0;
    scene.push_back(
        {Rect(x + in + stroke, top + in + stroke + thickTop, x + box - in - stroke, top + box - in - stroke),
         Solid(Rgb(0x2F6AD6), kBlue)});
    x += box + gap;
    scene.push_back({RoundRect(x, top, x + box, top + box, box * 0.15), Solid(Rgb(0xE0443A), kRed)});
    const double near = in + stroke / 2.0;
    const double far = box - near;
    scene.push_back({Line({x + near, top + near}, {x + far, top + far}, stroke, Cap::Round), kWhitePaint});
    scene.push_back({Line({x + far, top + near}, {x + near, top + far}, stroke, Cap::Round), kWhitePaint});
}

// Soft shadow under a shape, for the large image only: stacked, slightly
// transparent copies grown a little more each time.
void AddShadow(Scene& scene, const Shape& shape, Vec offset, double spread, int steps)
{
    for (int i = steps; i >= 1; --i) {
        const double grow = spread * i / steps;
        scene.push_back({[=](Vec p) { return shape(p - offset) - grow; }, Solid(Rgb(0x000000, 14), kBlack)});
    }
}

Scene CommandPrompt(int size)
{
    Scene scene;
    const Paint console = Gradient(Rgb(0x1B1D20), Rgb(0x050505), 0, size, kBlack);
    const Paint text = Solid(Rgb(0xCCCCCC), kSilver);
    const Paint cursor = Solid(kWhite, kWhite);
    if (size == 256) {
        const WindowMetrics w{10, 24, 246, 236, 14, 36, 3};
        AddShadow(scene, RoundRect(w.x0, w.y0, w.x1, w.y1, w.corner), {0, 5}, 8, 8);
        AddWindow(scene, w, console);
        AddTitleButtons(scene, 236, 34, 20, 3);
        const int cell = 6;
        const int x = AddText(scene, kFontLarge, "C:\\>", 30, 84, cell, text);
        scene.push_back({Rect(x, 84 + 6 * cell, x + 5 * cell, 84 + 7 * cell), cursor});
    } else if (size == 48) {
        const WindowMetrics w{1, 4, 47, 44, 3, 8, 1};
        AddWindow(scene, w, console);
        AddTitleButtons(scene, 45, 6, 6, 1);
        const int x = AddText(scene, kFontLarge, "C:\\>", 5, 17, 1, text);
        scene.push_back({Rect(x, 22, x + 5, 24), cursor});
    } else if (size == 32) {
        const WindowMetrics w{1, 3, 31, 29, 2, 5, 1};
        AddWindow(scene, w, console);
        // Three buttons do not fit a 5-pixel title bar; a lone close box does.
        scene.push_back({Rect(26, 5, 29, 8), Solid(Rgb(0xE0443A), kRed)});
        const int x = AddText(scene, kFontSmall, "C:\\>", 4, 13, 1, text);
        scene.push_back({Rect(x, 17, x + 3, 18), cursor});
    } else {
        // The drive letter would crowd 14 pixels of console; the prompt sign and
        // the cursor alone still say command line.
        const WindowMetrics w{0, 1, 16, 15, 1, 3, 1};
        AddWindow(scene, w, console);
        const int x = AddText(scene, kFontSmall, ">", 3, 7, 1, text);
        scene.push_back({Rect(x, 11, x + 3, 12), cursor});
    }
    return scene;
}

Scene TaskManager(int size)
{
    // Outer edge of the monitor, width of its bezel, the stand's neck and foot,
    // the thickness of the graph's line and whether the screen has a grid.
    struct Metrics {
        double x0, y0, x1, y1, corner, bezel;
        double neckWidth, footWidth, footTop, footBottom;
        double line;
        bool grid;
    };
    const Metrics m = size == 48   ? Metrics{2, 4, 46, 37, 3, 4, 8, 24, 40, 45, 2, true}
                      : size == 32 ? Metrics{1, 3, 31, 25, 2, 3, 6, 16, 27, 30, 2, true}
                      : size == 24 ? Metrics{1, 2, 23, 19, 2, 2, 4, 12, 20, 23, 1, false}
                                   : Metrics{0, 0, 16, 12, 1, 2, 4, 10, 13, 16, 1, false};
    const double middle = size / 2.0;
    const Paint dark = Solid(Rgb(0x30353C), kBlack);

    // Stand first, so the monitor's edge covers the top of the neck.
    Scene scene;
    scene.push_back({Rect(middle - m.neckWidth / 2, m.y1 - 1, middle + m.neckWidth / 2, m.footTop + 1), dark});
    scene.push_back({Rect(middle - m.neckWidth / 2 + 1, m.y1 - 1, middle + m.neckWidth / 2 - 1, m.footTop + 1),
                     Solid(Rgb(0x8C939B), kGrey)});
    scene.push_back({RoundRect(middle - m.footWidth / 2, m.footTop, middle + m.footWidth / 2, m.footBottom, 1), dark});
    scene.push_back({Rect(middle - m.footWidth / 2 + 1, m.footTop + 1, middle + m.footWidth / 2 - 1, m.footBottom - 1),
                     Gradient(Rgb(0xDDE1E5), Rgb(0xA3AAB2), m.footTop, m.footBottom, kSilver)});

    scene.push_back({RoundRect(m.x0, m.y0, m.x1, m.y1, m.corner), dark});
    scene.push_back({RoundRect(m.x0 + 1, m.y0 + 1, m.x1 - 1, m.y1 - 1, m.corner - 1),
                     Gradient(Rgb(0xF0F2F5), Rgb(0xA5ADB6), m.y0, m.y1, kSilver)});
    const double sx0 = m.x0 + m.bezel, sy0 = m.y0 + m.bezel, sx1 = m.x1 - m.bezel, sy1 = m.y1 - m.bezel;
    scene.push_back({Rect(sx0, sy0, sx1, sy1), Gradient(Rgb(0x10261A), Rgb(0x040A06), sy0, sy1, kBlack)});

    if (m.grid) {
        const double step = (sx1 - sx0) / 6;
        const Paint grid = Solid(Rgb(0x14502A), kGreen);
        for (double x = sx0 + step; x < sx1 - 0.5; x += step) {
            scene.push_back({Rect(std::round(x), sy0, std::round(x) + 1, sy1), grid});
        }
        for (double y = sy0 + step; y < sy1 - 0.5; y += step) {
            scene.push_back({Rect(sx0, std::round(y), sx1, std::round(y) + 1), grid});
        }
    }

    // The load curve is drawn as one column per pixel, topped with the line
    // colour and never more than a pixel higher or lower than its neighbour, so
    // the tops join into clean diagonals at every colour depth instead of the
    // lumps a thin slanted line leaves after thresholding.
    const std::vector<int> heights =
        size == 48 ? std::vector<int>{8,  9,  10, 11, 12, 13, 13, 12, 11, 10, 9,  10, 11, 12, 13, 14, 15, 16,
                                      17, 18, 17, 16, 15, 14, 15, 16, 17, 18, 19, 20, 21, 20, 19, 18, 17, 18}
        : size == 32
            ? std::vector<int>{5, 6, 7, 8, 7, 6, 5, 5, 6, 7, 8, 9, 10, 11, 12, 11, 10, 9, 10, 11, 12, 13, 12, 11}
        : size == 24 ? std::vector<int>{3, 4, 5, 6, 5, 4, 3, 4, 5, 6, 7, 8, 9, 8, 7, 6, 5, 6}
                     : std::vector<int>{2, 3, 4, 5, 4, 3, 2, 3, 4, 5, 6, 5};
    const Paint area = Gradient(Rgb(0x22A045), Rgb(0x0C4A1E), sy0, sy1, kGreen);
    const Paint line = Solid(Rgb(0x6CFF7C), kLime);
    for (std::size_t i = 0; i < heights.size(); ++i) {
        const double x = sx0 + static_cast<double>(i);
        const double top = sy1 - heights[i];
        scene.push_back({Rect(x, top + m.line, x + 1, sy1), area});
        scene.push_back({Rect(x, top, x + 1, top + m.line), line});
    }
    return scene;
}

Scene ShutDown(int size)
{
    // The square's edges and corner, then the power symbol's centre, the ring's
    // outer radius, the stroke, the top of the bar and how far the ring's
    // opening reaches either side of twelve o'clock, chosen per size so that the
    // strokes' straight edges fall on pixel boundaries: an even stroke needs the
    // centre on a pixel corner, an odd one on a pixel centre. At 24 px a 2-pixel
    // stroke looks frail and a 4-pixel one fills the ring, so that size gives up
    // a pixel of the canvas to centre a 3-pixel symbol in a 21-pixel square.
    struct Metrics {
        double x0, x1, corner, centreX, centreY, outer, stroke, barTop, opening;
    };
    const Metrics m = size == 48   ? Metrics{2, 46, 8, 24, 25, 14, 6, 8, 44}
                      : size == 32 ? Metrics{1, 31, 6, 16, 17, 9, 4, 5, 45}
                      : size == 24 ? Metrics{1, 22, 4, 11.5, 12.5, 7.5, 3, 4, 40}
                                   : Metrics{1, 15, 3, 8, 8, 5, 2, 3, 40};
    Scene scene;
    scene.push_back({RoundRect(m.x0, m.x0, m.x1, m.x1, m.corner), Solid(Rgb(0x9C2A10), kMaroon)});
    scene.push_back({RoundRect(m.x0 + 1, m.x0 + 1, m.x1 - 1, m.x1 - 1, m.corner - 1),
                     Gradient(Rgb(0xFF7E4A), Rgb(0xD63D17), m.x0, m.x1, kRed)});

    const Vec centre{m.centreX, m.centreY};
    scene.push_back(
        {Arc(centre, m.outer - m.stroke / 2, m.stroke, m.opening, 360 - m.opening, Cap::Round), kWhitePaint});
    // Round ends like the ring's where there are pixels enough to show them.
    if (size >= 32) {
        scene.push_back(
            {Line({centre.x, m.barTop + m.stroke / 2}, {centre.x, m.centreY}, m.stroke, Cap::Round), kWhitePaint});
    } else {
        scene.push_back(
            {Line({centre.x, m.barTop}, {centre.x, std::ceil(m.centreY)}, m.stroke, Cap::Butt), kWhitePaint});
    }
    return scene;
}

Scene Restart(int size)
{
    // Radius of the arrows' centre line, stroke, half the width of an arrow head
    // and its length, the angle the body of an arrow sweeps, and the dark
    // outline around it all. The heads sit at three and nine o'clock, where
    // they point straight down and up and so land squarely on the pixels.
    struct Metrics {
        double radius, stroke, head, headLength, sweep, outline;
    };
    const Metrics m = size == 48   ? Metrics{15, 6, 7, 8, 125, 2}
                      : size == 32 ? Metrics{10, 4, 5, 5.5, 125, 1}
                      : size == 24 ? Metrics{7.5, 3, 3.5, 4, 120, 1}
                      : size == 20 ? Metrics{6, 2, 3, 3.5, 120, 1}
                                   : Metrics{5, 2, 3, 3, 125, 0};
    const Vec centre{size / 2.0, size / 2.0};
    std::vector<Shape> arrows;
    for (double base : {90.0, 270.0}) {
        const Vec along = OnCircle({0, 0}, 1, base + 90); // clockwise tangent at the base
        arrows.push_back(Arc(centre, m.radius, m.stroke, base - m.sweep, base, Cap::Butt));
        arrows.push_back(
            Polygon({OnCircle(centre, m.radius + m.head, base), OnCircle(centre, m.radius, base) + along * m.headLength,
                     OnCircle(centre, m.radius - m.head, base)}));
    }
    Scene scene;
    const double top = centre.y - m.radius;
    const double bottom = centre.y + m.radius;
    // Where there is no room for an outline the arrows take its darker green
    // themselves, to stand out against a light button face.
    const Paint fill = m.outline > 0 ? Gradient(Rgb(0x7BE07B), Rgb(0x1E9A34), top, bottom, kLime)
                                     : Gradient(Rgb(0x3DB84A), Rgb(0x0F7024), top, bottom, kGreen);
    if (m.outline > 0) {
        for (const Shape& shape : arrows) {
            scene.push_back({Grow(shape, m.outline), Solid(Rgb(0x0E5A1E), kGreen)});
        }
    }
    for (const Shape& shape : arrows) {
        scene.push_back({shape, fill});
    }
    return scene;
}

Scene Application(int size)
{
    Scene scene;
    const Paint client = Gradient(Rgb(0xFFFFFF), Rgb(0xEDF2F7), 0, size, kWhite);
    const Paint text = Solid(Rgb(0x9AA6B4), kGrey);
    if (size == 32) {
        const WindowMetrics w{1, 3, 31, 29, 2, 5, 1};
        AddWindow(scene, w, client);
        scene.push_back({Rect(26, 5, 29, 8), Solid(Rgb(0xE0443A), kRed)});
        for (auto [y, right] : {std::pair{12, 25}, {15, 21}, {18, 26}, {21, 19}, {24, 23}}) {
            scene.push_back({Rect(5, y, right, y + 1), text});
        }
    } else {
        const WindowMetrics w{0, 1, 16, 15, 1, 3, 1};
        AddWindow(scene, w, client);
        for (auto [y, right] : {std::pair{7, 12}, {9, 10}, {11, 13}}) {
            scene.push_back({Rect(3, y, right, y + 1), text});
        }
    }
    return scene;
}

} // namespace

Scene DrawIcon(int resourceId, int size)
{
    switch (resourceId) {
    case IDI_COMMAND_PROMPT:
        return CommandPrompt(size);
    case IDI_TASK_MANAGER:
        return TaskManager(size);
    case IDI_SHUT_DOWN:
        return ShutDown(size);
    case IDI_RESTART:
        return Restart(size);
    case IDI_APPLICATION_MAIN:
        return Application(size);
    }
    throw std::invalid_argument("no drawing for icon " + std::to_string(resourceId));
}

Image DrawImage(int resourceId, int size, int bitsPerPixel)
{
    return Render(DrawIcon(resourceId, size), size, bitsPerPixel);
}

} // namespace kelvory::icons
