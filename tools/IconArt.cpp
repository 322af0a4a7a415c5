#include "IconArt.h"

#include "IconImageSets.h"
#include "resource.h"

#include <algorithm>
#include <cmath>
#include <span>
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

// Each icon's drawing is a table with one row of geometry per size. A size
// that its image set lists and its table lacks fails the build (DrawsEvery
// below), and one asked for at run time fails the drawing (ArtAt), so no size
// ever gets another size's picture.

// True when the table has exactly one row for every size the icon's image set
// holds, the PNG image's included, and no other rows.
template <class Art, std::size_t N>
constexpr bool DrawsEvery(const Art (&table)[N], int resourceId)
{
    auto rows = [&](int size) {
        std::size_t count = 0;
        for (const Art& art : table) {
            count += art.size == size;
        }
        return count;
    };
    for (const IconImageSet& set : kIconImageSets) {
        if (set.resourceId != resourceId) {
            continue;
        }
        if (N != set.sizes.size() + (set.withPng ? 1 : 0) || (set.withPng && rows(kPngImageSize) != 1)) {
            return false;
        }
        for (int size : set.sizes) {
            if (rows(size) != 1) {
                return false;
            }
        }
        return true;
    }
    return false;
}

// The table's row for the size; a size it has no drawing for is an error.
template <class Art, std::size_t N>
const Art& ArtAt(const Art (&table)[N], int size, std::string_view icon)
{
    for (const Art& art : table) {
        if (art.size == size) {
            return art;
        }
    }
    throw std::invalid_argument("no drawing of the " + std::string(icon) + " at " + std::to_string(size) + " px");
}

// An axis-aligned box on whole pixels; empty when all of it is 0.
struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool Empty() const { return x0 == x1 || y0 == y1; }
};

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
struct TitleButtons {
    int right = 0, top = 0, box = 0, stroke = 0;
};

void AddTitleButtons(Scene& scene, const TitleButtons& buttons)
{
    const auto [right, top, box, stroke] = buttons;
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

// The console window: its window, the large image's shadow, the title bar's
// buttons or a lone close box, and the prompt in one of the bitmap fonts, with
// the cursor `below` pixels under the text's top.
struct ConsoleArt {
    int size = 0;
    WindowMetrics window;
    bool shadow = false;
    TitleButtons titleButtons{}; // none where box is 0
    Box closeBox{}; // a lone close box, where three buttons do not fit
    const std::vector<Glyph>* font = nullptr;
    std::string_view prompt;
    int promptX = 0, promptY = 0, cell = 1;
    int cursorBelow = 0, cursorWidth = 0, cursorHeight = 0;
};

constexpr ConsoleArt kCommandPromptArt[] = {
    {.size = 256,
     .window = {.x0 = 10, .y0 = 24, .x1 = 246, .y1 = 236, .corner = 14, .title = 36, .edge = 3},
     .shadow = true,
     .titleButtons = {.right = 236, .top = 34, .box = 20, .stroke = 3},
     .font = &kFontLarge,
     .prompt = "C:\\>",
     .promptX = 30,
     .promptY = 84,
     .cell = 6,
     .cursorBelow = 36,
     .cursorWidth = 30,
     .cursorHeight = 6},
    {.size = 48,
     .window = {.x0 = 1, .y0 = 4, .x1 = 47, .y1 = 44, .corner = 3, .title = 8, .edge = 1},
     .titleButtons = {.right = 45, .top = 6, .box = 6, .stroke = 1},
     .font = &kFontLarge,
     .prompt = "C:\\>",
     .promptX = 5,
     .promptY = 17,
     .cursorBelow = 5,
     .cursorWidth = 5,
     .cursorHeight = 2},
    // Three buttons do not fit a 5-pixel title bar; a lone close box does.
    {.size = 32,
     .window = {.x0 = 1, .y0 = 3, .x1 = 31, .y1 = 29, .corner = 2, .title = 5, .edge = 1},
     .closeBox = {.x0 = 26, .y0 = 5, .x1 = 29, .y1 = 8},
     .font = &kFontSmall,
     .prompt = "C:\\>",
     .promptX = 4,
     .promptY = 13,
     .cursorBelow = 4,
     .cursorWidth = 3,
     .cursorHeight = 1},
    // The drive letter would crowd 14 pixels of console; the prompt sign and
    // the cursor alone still say command line.
    {.size = 16,
     .window = {.x0 = 0, .y0 = 1, .x1 = 16, .y1 = 15, .corner = 1, .title = 3, .edge = 1},
     .font = &kFontSmall,
     .prompt = ">",
     .promptX = 3,
     .promptY = 7,
     .cursorBelow = 4,
     .cursorWidth = 3,
     .cursorHeight = 1},
};
static_assert(DrawsEvery(kCommandPromptArt, IDI_COMMAND_PROMPT));

const Paint kCloseBoxPaint = Solid(Rgb(0xE0443A), kRed);

Scene CommandPrompt(int size)
{
    const ConsoleArt& art = ArtAt(kCommandPromptArt, size, "command prompt");
    Scene scene;
    const Paint console = Gradient(Rgb(0x1B1D20), Rgb(0x050505), 0, size, kBlack);
    const Paint text = Solid(Rgb(0xCCCCCC), kSilver);
    const Paint cursor = Solid(kWhite, kWhite);
    const WindowMetrics& w = art.window;
    if (art.shadow) {
        AddShadow(scene, RoundRect(w.x0, w.y0, w.x1, w.y1, w.corner), {0, 5}, 8, 8);
    }
    AddWindow(scene, w, console);
    if (art.titleButtons.box > 0) {
        AddTitleButtons(scene, art.titleButtons);
    }
    if (!art.closeBox.Empty()) {
        const Box& b = art.closeBox;
        scene.push_back({Rect(b.x0, b.y0, b.x1, b.y1), kCloseBoxPaint});
    }
    const int x = AddText(scene, *art.font, art.prompt, art.promptX, art.promptY, art.cell, text);
    const int cursorTop = art.promptY + art.cursorBelow;
    scene.push_back({Rect(x, cursorTop, x + art.cursorWidth, cursorTop + art.cursorHeight), cursor});
    return scene;
}

// Outer edge of the monitor, width of its bezel, the stand's neck and foot,
// the thickness of the graph's line, whether the screen has a grid, and the
// load curve's height in each pixel column of the screen.
struct MonitorArt {
    int size = 0;
    double x0, y0, x1, y1, corner, bezel;
    double neckWidth, footWidth, footTop, footBottom;
    double line;
    bool grid;
    std::span<const int> load;
};

// Each column is never more than a pixel higher or lower than its neighbour.
constexpr int kLoad48[] = {8,  9,  10, 11, 12, 13, 13, 12, 11, 10, 9,  10, 11, 12, 13, 14, 15, 16,
                           17, 18, 17, 16, 15, 14, 15, 16, 17, 18, 19, 20, 21, 20, 19, 18, 17, 18};
constexpr int kLoad32[] = {5, 6, 7, 8, 7, 6, 5, 5, 6, 7, 8, 9, 10, 11, 12, 11, 10, 9, 10, 11, 12, 13, 12, 11};
constexpr int kLoad24[] = {3, 4, 5, 6, 5, 4, 3, 4, 5, 6, 7, 8, 9, 8, 7, 6, 5, 6};
constexpr int kLoad16[] = {2, 3, 4, 5, 4, 3, 2, 3, 4, 5, 6, 5};

constexpr MonitorArt kTaskManagerArt[] = {
    {.size = 48,
     .x0 = 2,
     .y0 = 4,
     .x1 = 46,
     .y1 = 37,
     .corner = 3,
     .bezel = 4,
     .neckWidth = 8,
     .footWidth = 24,
     .footTop = 40,
     .footBottom = 45,
     .line = 2,
     .grid = true,
     .load = kLoad48},
    {.size = 32,
     .x0 = 1,
     .y0 = 3,
     .x1 = 31,
     .y1 = 25,
     .corner = 2,
     .bezel = 3,
     .neckWidth = 6,
     .footWidth = 16,
     .footTop = 27,
     .footBottom = 30,
     .line = 2,
     .grid = true,
     .load = kLoad32},
    {.size = 24,
     .x0 = 1,
     .y0 = 2,
     .x1 = 23,
     .y1 = 19,
     .corner = 2,
     .bezel = 2,
     .neckWidth = 4,
     .footWidth = 12,
     .footTop = 20,
     .footBottom = 23,
     .line = 1,
     .grid = false,
     .load = kLoad24},
    {.size = 16,
     .x0 = 0,
     .y0 = 0,
     .x1 = 16,
     .y1 = 12,
     .corner = 1,
     .bezel = 2,
     .neckWidth = 4,
     .footWidth = 10,
     .footTop = 13,
     .footBottom = 16,
     .line = 1,
     .grid = false,
     .load = kLoad16},
};
static_assert(DrawsEvery(kTaskManagerArt, IDI_TASK_MANAGER));

Scene TaskManager(int size)
{
    const MonitorArt& m = ArtAt(kTaskManagerArt, size, "Task Manager");
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
    const std::span<const int> heights = m.load;
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

struct PowerArt {
    int size = 0;
    double x0, x1, corner, centreX, centreY, outer, stroke, barTop, opening;
};

constexpr PowerArt kShutDownArt[] = {
    {.size = 48,
     .x0 = 2,
     .x1 = 46,
     .corner = 8,
     .centreX = 24,
     .centreY = 25,
     .outer = 14,
     .stroke = 6,
     .barTop = 8,
     .opening = 44},
    {.size = 32,
     .x0 = 1,
     .x1 = 31,
     .corner = 6,
     .centreX = 16,
     .centreY = 17,
     .outer = 9,
     .stroke = 4,
     .barTop = 5,
     .opening = 45},
    {.size = 24,
     .x0 = 1,
     .x1 = 22,
     .corner = 4,
     .centreX = 11.5,
     .centreY = 12.5,
     .outer = 7.5,
     .stroke = 3,
     .barTop = 4,
     .opening = 40},
    {.size = 16,
     .x0 = 1,
     .x1 = 15,
     .corner = 3,
     .centreX = 8,
     .centreY = 8,
     .outer = 5,
     .stroke = 2,
     .barTop = 3,
     .opening = 40},
};
static_assert(DrawsEvery(kShutDownArt, IDI_SHUT_DOWN));

Scene ShutDown(int size)
{
    // The square's edges and corner, then the power symbol's centre, the ring's
    // outer radius, the stroke, the top of the bar and how far the ring's
    // opening reaches either side of twelve o'clock, chosen per size so that the
    // strokes' straight edges fall on pixel boundaries: an even stroke needs the
    // centre on a pixel corner, an odd one on a pixel centre. At 24 px a 2-pixel
    // stroke looks frail and a 4-pixel one fills the ring, so that size gives up
    // a pixel of the canvas to centre a 3-pixel symbol in a 21-pixel square.
    const PowerArt& m = ArtAt(kShutDownArt, size, "shut-down");
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

struct ArrowsArt {
    int size = 0;
    double radius, stroke, head, headLength, sweep, outline;
};

constexpr ArrowsArt kRestartArt[] = {
    {.size = 48, .radius = 15, .stroke = 6, .head = 7, .headLength = 8, .sweep = 125, .outline = 2},
    {.size = 32, .radius = 10, .stroke = 4, .head = 5, .headLength = 5.5, .sweep = 125, .outline = 1},
    {.size = 24, .radius = 7.5, .stroke = 3, .head = 3.5, .headLength = 4, .sweep = 120, .outline = 1},
    {.size = 20, .radius = 6, .stroke = 2, .head = 3, .headLength = 3.5, .sweep = 120, .outline = 1},
    {.size = 16, .radius = 5, .stroke = 2, .head = 3, .headLength = 3, .sweep = 125, .outline = 0},
};
static_assert(DrawsEvery(kRestartArt, IDI_RESTART));

Scene Restart(int size)
{
    // Radius of the arrows' centre line, stroke, half the width of an arrow head
    // and its length, the angle the body of an arrow sweeps, and the dark
    // outline around it all. The heads sit at three and nine o'clock, where
    // they point straight down and up and so land squarely on the pixels.
    const ArrowsArt& m = ArtAt(kRestartArt, size, "restart");
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

// A generic window with lines of text: its window, a lone close box where
// there is room for one, and each line's height and right end.
struct TextLine {
    int y = 0, right = 0;
};

struct DocumentArt {
    int size = 0;
    WindowMetrics window;
    Box closeBox{};
    int linesLeft = 0;
    std::span<const TextLine> lines;
};

constexpr TextLine kLines32[] = {{.y = 12, .right = 25},
                                 {.y = 15, .right = 21},
                                 {.y = 18, .right = 26},
                                 {.y = 21, .right = 19},
                                 {.y = 24, .right = 23}};
constexpr TextLine kLines16[] = {{.y = 7, .right = 12}, {.y = 9, .right = 10}, {.y = 11, .right = 13}};

constexpr DocumentArt kApplicationArt[] = {
    {.size = 32,
     .window = {.x0 = 1, .y0 = 3, .x1 = 31, .y1 = 29, .corner = 2, .title = 5, .edge = 1},
     .closeBox = {.x0 = 26, .y0 = 5, .x1 = 29, .y1 = 8},
     .linesLeft = 5,
     .lines = kLines32},
    {.size = 16,
     .window = {.x0 = 0, .y0 = 1, .x1 = 16, .y1 = 15, .corner = 1, .title = 3, .edge = 1},
     .linesLeft = 3,
     .lines = kLines16},
};
static_assert(DrawsEvery(kApplicationArt, IDI_APPLICATION_MAIN));

Scene Application(int size)
{
    const DocumentArt& art = ArtAt(kApplicationArt, size, "application");
    Scene scene;
    const Paint client = Gradient(Rgb(0xFFFFFF), Rgb(0xEDF2F7), 0, size, kWhite);
    const Paint text = Solid(Rgb(0x9AA6B4), kGrey);
    AddWindow(scene, art.window, client);
    if (!art.closeBox.Empty()) {
        const Box& b = art.closeBox;
        scene.push_back({Rect(b.x0, b.y0, b.x1, b.y1), kCloseBoxPaint});
    }
    for (const TextLine& line : art.lines) {
        scene.push_back({Rect(art.linesLeft, line.y, line.right, line.y + 1), text});
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
