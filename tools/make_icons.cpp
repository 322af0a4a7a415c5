// make_icons draws Kelvory's button icons from shape descriptions and writes them
// as .ico files:
//
//     make_icons <output-directory>
//
// Every image size is drawn on its own from its own geometry, never scaled from a
// bigger picture, so the small sizes can get thicker strokes and fewer details.
// The 32-bit images are anti-aliased by supersampling; the 4- and 8-bit images
// are crisp: a pixel takes the colour of the topmost shape covering at least half
// of it, mapped to the nearest palette entry, and is transparent through the AND
// mask when no shape does.
//
// The output depends on nothing but this file, so the committed icons can be
// rebuilt byte for byte and the build checks that they are.
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Colours and palettes

struct Color
{
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
};

constexpr Color Rgb(std::uint32_t rgb, std::uint8_t alpha = 255)
{
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
            static_cast<std::uint8_t>(rgb), alpha};
}

// The 16 colours every display adapter since VGA shows; 4-bit icons must use
// exactly this table to look right on a 16-colour screen.
constexpr Color kBlack = Rgb(0x000000);
constexpr Color kMaroon = Rgb(0x800000);
constexpr Color kGreen = Rgb(0x008000);
constexpr Color kOlive = Rgb(0x808000);
constexpr Color kNavy = Rgb(0x000080);
constexpr Color kPurple = Rgb(0x800080);
constexpr Color kTeal = Rgb(0x008080);
constexpr Color kSilver = Rgb(0xC0C0C0);
constexpr Color kGrey = Rgb(0x808080);
constexpr Color kRed = Rgb(0xFF0000);
constexpr Color kLime = Rgb(0x00FF00);
constexpr Color kYellow = Rgb(0xFFFF00);
constexpr Color kBlue = Rgb(0x0000FF);
constexpr Color kFuchsia = Rgb(0xFF00FF);
constexpr Color kAqua = Rgb(0x00FFFF);
constexpr Color kWhite = Rgb(0xFFFFFF);

constexpr std::array<Color, 16> kVgaPalette = {kBlack, kMaroon, kGreen, kOlive,  kNavy, kPurple,
                                               kTeal,  kSilver, kGrey,  kRed,    kLime, kYellow,
                                               kBlue,  kFuchsia, kAqua, kWhite};

// The 8-bit palette starts with the 16 VGA colours, so the flat colours of the
// 4-bit images are available unchanged, then holds an even 6x6x6 colour cube and
// 24 greys between the cube's levels.
std::array<Color, 256> MakeBytePalette()
{
    std::array<Color, 256> palette{};
    std::size_t next = 0;
    for (Color c : kVgaPalette)
        palette[next++] = c;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette[next++] = {static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51)};
    for (int i = 0; i < 24; ++i)
    {
        const auto level = static_cast<std::uint8_t>(8 + i * 10);
        palette[next++] = {level, level, level};
    }
    return palette;
}

const std::array<Color, 256> kBytePalette = MakeBytePalette();

int NearestEntry(std::span<const Color> palette, Color c)
{
    int best = 0;
    int bestDistance = 1 << 30;
    for (std::size_t i = 0; i < palette.size(); ++i)
    {
        const int dr = c.r - palette[i].r;
        const int dg = c.g - palette[i].g;
        const int db = c.b - palette[i].b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance)
        {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

// ---------------------------------------------------------------------------
// Shapes
//
// Coordinates are in pixels of the image being drawn, y pointing down; pixel
// (i, j) covers [i, i+1) x [j, j+1). A shape is a signed distance field:
// negative inside, positive outside, and for the basic shapes the distance to
// the edge, which makes an outline a matter of growing a shape by its width.

struct Vec
{
    double x = 0;
    double y = 0;
};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Length(Vec a) { return std::sqrt(Dot(a, a)); }

using Shape = std::function<double(Vec)>;

enum class Cap { Butt, Round };

double SegmentDistance(Vec p, Vec a, Vec b)
{
    const Vec ab = b - a;
    const double t = std::clamp(Dot(p - a, ab) / Dot(ab, ab), 0.0, 1.0);
    return Length(p - (a + ab * t));
}

Shape RoundRect(double x0, double y0, double x1, double y1, double radius)
{
    return [=](Vec p) {
        const double qx = std::abs(p.x - (x0 + x1) / 2) - ((x1 - x0) / 2 - radius);
        const double qy = std::abs(p.y - (y0 + y1) / 2) - ((y1 - y0) / 2 - radius);
        return Length({std::max(qx, 0.0), std::max(qy, 0.0)}) + std::min(std::max(qx, qy), 0.0) - radius;
    };
}

Shape Rect(double x0, double y0, double x1, double y1) { return RoundRect(x0, y0, x1, y1, 0); }

// Angles are in degrees, clockwise from twelve o'clock, as one reads a dial.
Vec OnCircle(Vec centre, double radius, double degrees)
{
    const double a = degrees * std::numbers::pi / 180;
    return {centre.x + radius * std::sin(a), centre.y - radius * std::cos(a)};
}

// A stroke of the given width along the circle of the given radius, from angle
// `from` clockwise to angle `to`.
Shape Arc(Vec centre, double radius, double width, double from, double to, Cap cap)
{
    const Vec start = OnCircle(centre, radius, from);
    const Vec end = OnCircle(centre, radius, to);
    return [=](Vec p) {
        const Vec d = p - centre;
        const double angle = std::atan2(d.x, -d.y) * 180 / std::numbers::pi;
        if (from + std::fmod(angle - from + 720, 360) <= to)
            return std::abs(Length(d) - radius) - width / 2;
        if (cap == Cap::Round)
            return std::min(Length(p - start), Length(p - end)) - width / 2;
        return std::min(SegmentDistance(p, OnCircle(centre, radius - width / 2, from),
                                        OnCircle(centre, radius + width / 2, from)),
                        SegmentDistance(p, OnCircle(centre, radius - width / 2, to),
                                        OnCircle(centre, radius + width / 2, to)));
    };
}

Shape Line(Vec a, Vec b, double width, Cap cap)
{
    if (cap == Cap::Round)
        return [=](Vec p) { return SegmentDistance(p, a, b) - width / 2; };
    const double length = Length(b - a);
    const Vec along = (b - a) * (1 / length);
    const Vec middle = (a + b) * 0.5;
    return [=](Vec p) {
        const Vec d = p - middle;
        const double qx = std::abs(Dot(d, along)) - length / 2;
        const double qy = std::abs(d.x * along.y - d.y * along.x) - width / 2;
        return Length({std::max(qx, 0.0), std::max(qy, 0.0)}) + std::min(std::max(qx, qy), 0.0);
    };
}

Shape Polygon(std::vector<Vec> corners)
{
    return [corners = std::move(corners)](Vec p) {
        double nearest = 1e9;
        bool inside = false;
        for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++)
        {
            const Vec a = corners[j];
            const Vec b = corners[i];
            nearest = std::min(nearest, SegmentDistance(p, a, b));
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y))
                inside = !inside;
        }
        return inside ? -nearest : nearest;
    };
}

Shape Grow(Shape shape, double by)
{
    return [=](Vec p) { return shape(p) - by; };
}

Shape Intersect(Shape a, Shape b)
{
    return [=](Vec p) { return std::max(a(p), b(p)); };
}

// ---------------------------------------------------------------------------
// Scenes

// How a shape is filled: a vertical gradient (or a solid colour) in the 32-bit
// images, the gradient's middle colour in the 8-bit ones (a gradient through a
// 256-colour palette only makes bands), and a colour from the VGA table in the
// 4-bit ones, chosen by hand because the nearest VGA colour to a shaded blue or
// orange is often a poor one.
struct Paint
{
    Color top;
    Color bottom;
    double y0 = 0;
    double y1 = 1;
    Color flat;

    Color At(double y) const
    {
        const double t = std::clamp((y - y0) / (y1 - y0), 0.0, 1.0);
        const auto mix = [t](std::uint8_t u, std::uint8_t v) {
            return static_cast<std::uint8_t>(std::lround(u + (v - u) * t));
        };
        return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), mix(top.a, bottom.a)};
    }

    Color Middle() const { return At((y0 + y1) / 2); }
};

Paint Solid(Color color, Color flat) { return {color, color, 0, 1, flat}; }

Paint Gradient(Color top, Color bottom, double y0, double y1, Color flat) { return {top, bottom, y0, y1, flat}; }

struct Layer
{
    Shape shape;
    Paint paint;
};

// Layers are painted in order, each over the ones before.
using Scene = std::vector<Layer>;

// A tiny bitmap font for the console prompt, one string per row, '#' lit.
struct Glyph
{
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
    for (char c : text)
    {
        const auto glyph = std::find_if(font.begin(), font.end(), [c](const Glyph& g) { return g.character == c; });
        if (glyph == font.end())
            throw std::logic_error(std::string("no glyph for ") + c);
        for (std::size_t row = 0; row < glyph->rows.size(); ++row)
            for (std::size_t column = 0; column < glyph->rows[row].size(); ++column)
                if (glyph->rows[row][column] == '#')
                {
                    const double left = x + static_cast<double>(column) * cell;
                    const double top = y + static_cast<double>(row) * cell;
                    scene.push_back({Rect(left, top, left + cell, top + cell), paint});
                }
        x += static_cast<int>(glyph->rows[0].size() + 1) * cell;
    }
    return x;
}

// ---------------------------------------------------------------------------
// Rendering

// Samples per pixel along each axis, for both the anti-aliasing and the coverage
// test of the crisp images.
constexpr int kGrid = 8;

struct Image
{
    int size = 0;
    std::vector<Color> pixels; // straight (not premultiplied) alpha, rows top-down
};

Image RenderSmooth(const Scene& scene, int size)
{
    Image image{size, std::vector<Color>(static_cast<std::size_t>(size) * size)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            // Sums of premultiplied colour over the pixel's samples.
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kGrid; ++sy)
                for (int sx = 0; sx < kGrid; ++sx)
                {
                    const Vec p{x + (sx + 0.5) / kGrid, y + (sy + 0.5) / kGrid};
                    double sr = 0, sg = 0, sb = 0, sa = 0;
                    for (const Layer& layer : scene)
                    {
                        if (layer.shape(p) > 0)
                            continue;
                        const Color c = layer.paint.At(p.y);
                        const double alpha = c.a / 255.0;
                        sr = c.r * alpha + sr * (1 - alpha);
                        sg = c.g * alpha + sg * (1 - alpha);
                        sb = c.b * alpha + sb * (1 - alpha);
                        sa = alpha + sa * (1 - alpha);
                    }
                    r += sr;
                    g += sg;
                    b += sb;
                    a += sa;
                }
            const auto alpha = static_cast<std::uint8_t>(std::lround(a / (kGrid * kGrid) * 255));
            const auto straight = [a](double sum) { return static_cast<std::uint8_t>(std::lround(sum / a)); };
            image.pixels[static_cast<std::size_t>(y) * size + x] =
                alpha == 0 ? Color{0, 0, 0, 0} : Color{straight(r), straight(g), straight(b), alpha};
        }
    return image;
}

constexpr int kTransparent = -1;

// For every pixel the index of the topmost layer that covers at least half of
// it, or kTransparent. Translucent layers, like the shadow of the large image,
// have no place in a crisp picture and are left out.
std::vector<int> RenderCrisp(const Scene& scene, int size)
{
    std::vector<int> layers(static_cast<std::size_t>(size) * size, kTransparent);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            for (std::size_t i = 0; i < scene.size(); ++i)
            {
                if (scene[i].paint.Middle().a < 128)
                    continue;
                int covered = 0;
                for (int sy = 0; sy < kGrid; ++sy)
                    for (int sx = 0; sx < kGrid; ++sx)
                        if (scene[i].shape({x + (sx + 0.5) / kGrid, y + (sy + 0.5) / kGrid}) <= 0)
                            ++covered;
                if (2 * covered >= kGrid * kGrid)
                    layers[static_cast<std::size_t>(y) * size + x] = static_cast<int>(i);
            }
    return layers;
}

// ---------------------------------------------------------------------------
// File formats: everything little-endian in .ico and BMP, big-endian in PNG.

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void Put32BigEndian(Bytes& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// BITMAPINFOHEADER of an icon image: the height counts the colour rows and the
// AND mask rows together.
void PutBitmapHeader(Bytes& out, int size, int bits, std::uint32_t imageBytes)
{
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(2 * size));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, imageBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0); // all 2^bits palette entries are used
    Put32(out, 0);
}

int RowBytes(int size, int bits) { return (size * bits + 31) / 32 * 4; }

// The AND mask, rows bottom-up: a set bit lets the screen show through.
void PutMask(Bytes& out, int size, const std::function<bool(int, int)>& transparent)
{
    for (int y = size - 1; y >= 0; --y)
    {
        Bytes row(static_cast<std::size_t>(RowBytes(size, 1)));
        for (int x = 0; x < size; ++x)
            if (transparent(x, y))
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

Bytes IndexedBitmap(const Scene& scene, int size, int bits)
{
    const std::span<const Color> palette =
        bits == 4 ? std::span<const Color>(kVgaPalette) : std::span<const Color>(kBytePalette);
    const std::vector<int> layers = RenderCrisp(scene, size);
    const auto at = [&](int x, int y) { return layers[static_cast<std::size_t>(y) * size + x]; };

    Bytes out;
    const int rowBytes = RowBytes(size, bits);
    PutBitmapHeader(out, size, bits, static_cast<std::uint32_t>((rowBytes + RowBytes(size, 1)) * size));
    for (Color c : palette)
    {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = size - 1; y >= 0; --y)
    {
        Bytes row(static_cast<std::size_t>(rowBytes));
        for (int x = 0; x < size; ++x)
        {
            const int layer = at(x, y);
            if (layer == kTransparent)
                continue; // index 0 under a set mask bit leaves the screen as it is
            const Paint& paint = scene[static_cast<std::size_t>(layer)].paint;
            const Color wanted = bits == 4 ? paint.flat : paint.Middle();
            const auto index = static_cast<std::uint8_t>(NearestEntry(palette, wanted));
            if (bits == 8)
                row[static_cast<std::size_t>(x)] = index;
            else
                row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    PutMask(out, size, [&](int x, int y) { return at(x, y) == kTransparent; });
    return out;
}

// Pixels at least half opaque are opaque in the mask too, the same line the
// crisp images draw.
bool MostlyTransparent(Color c) { return c.a < 128; }

Bytes TrueColorBitmap(const Image& image)
{
    const int size = image.size;
    Bytes out;
    PutBitmapHeader(out, size, 32, static_cast<std::uint32_t>((RowBytes(size, 32) + RowBytes(size, 1)) * size));
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x)
        {
            const Color c = image.pixels[static_cast<std::size_t>(y) * size + x];
            out.insert(out.end(), {c.b, c.g, c.r, c.a});
        }
    PutMask(out, size, [&](int x, int y) { return MostlyTransparent(image.pixels[static_cast<std::size_t>(y) * size + x]); });
    return out;
}

// ---------------------------------------------------------------------------
// Deflate
//
// The 256 px image is stored as PNG, whose pixels are deflate-compressed. The
// artwork is mostly flat colour and smooth gradients, so plain LZ77 with
// Huffman codes fitted to this one image gets it small, and the encoder is
// short enough to live here rather than pull a library into the build.

class BitWriter
{
public:
    // Deflate fills each byte from its least significant bit up.
    void Put(std::uint32_t value, int count)
    {
        buffer_ |= static_cast<std::uint64_t>(value) << used_;
        used_ += count;
        for (; used_ >= 8; used_ -= 8, buffer_ >>= 8)
            bytes_.push_back(static_cast<std::uint8_t>(buffer_));
    }

    Bytes Finish()
    {
        if (used_ > 0)
            bytes_.push_back(static_cast<std::uint8_t>(buffer_));
        return std::move(bytes_);
    }

private:
    Bytes bytes_;
    std::uint64_t buffer_ = 0;
    int used_ = 0;
};

// A Huffman code built from symbol counts, with no code longer than `limit`
// bits.
class HuffmanCode
{
public:
    HuffmanCode(std::vector<std::uint32_t> counts, int limit)
    {
        // A code with a single symbol is incomplete, which not every decoder
        // accepts; two always make a complete one.
        const auto used = [&] { return std::ranges::count_if(counts, [](std::uint32_t n) { return n > 0; }); };
        for (std::size_t s = 0; used() < 2; ++s)
            counts[s] = std::max(counts[s], 1u);
        // When the best code is too deep the counts are halved, keeping every
        // used symbol used, until it fits. That costs a little compression on
        // rare symbols but is far simpler than an exact length-limited method.
        while (!Build(counts, limit))
            for (std::uint32_t& n : counts)
                n = (n + 1) / 2;

        // Canonical codes: shorter codes first, equal lengths in symbol order.
        std::array<std::uint32_t, 16> perLength{};
        for (int length : lengths_)
            ++perLength[static_cast<std::size_t>(length)];
        perLength[0] = 0;
        std::array<std::uint32_t, 16> next{};
        for (std::size_t length = 1; length < next.size(); ++length)
            next[length] = (next[length - 1] + perLength[length - 1]) << 1;
        codes_.resize(lengths_.size());
        for (std::size_t s = 0; s < lengths_.size(); ++s)
            if (lengths_[s] > 0)
                codes_[s] = Reversed(next[static_cast<std::size_t>(lengths_[s])]++, lengths_[s]);
    }

    const std::vector<int>& Lengths() const { return lengths_; }

    void Put(BitWriter& out, std::size_t symbol) const { out.Put(codes_[symbol], lengths_[symbol]); }

private:
    // Deflate sends a Huffman code from its most significant bit, the other
    // way round from everything else BitWriter puts.
    static std::uint32_t Reversed(std::uint32_t code, int length)
    {
        std::uint32_t reversed = 0;
        for (int bit = 0; bit < length; ++bit)
            reversed = reversed << 1 | (code >> bit & 1);
        return reversed;
    }

    // Classic Huffman merging with two queues: the leaves sorted by count, and
    // the merged nodes, which come out in order of weight by construction. Ties
    // go to the leaf and then to the lower symbol, so the result is the same
    // with any standard library.
    bool Build(const std::vector<std::uint32_t>& counts, int limit)
    {
        struct Node
        {
            std::uint64_t weight;
            int symbol;              // -1 for a merged node
            std::size_t left, right; // a merged node's children
        };
        std::vector<Node> nodes;
        for (std::size_t s = 0; s < counts.size(); ++s)
            if (counts[s] > 0)
                nodes.push_back({counts[s], static_cast<int>(s), 0, 0});
        std::ranges::stable_sort(nodes, {}, &Node::weight);
        const std::size_t leaves = nodes.size();
        std::size_t nextLeaf = 0, nextMerged = leaves;
        const auto lightest = [&] {
            const bool leaf = nextLeaf < leaves &&
                              (nextMerged == nodes.size() || nodes[nextLeaf].weight <= nodes[nextMerged].weight);
            return leaf ? nextLeaf++ : nextMerged++;
        };
        for (std::size_t i = 1; i < leaves; ++i)
        {
            const std::size_t a = lightest(), b = lightest();
            nodes.push_back({nodes[a].weight + nodes[b].weight, -1, a, b});
        }

        // Every node comes after its children, so one pass from the root down
        // gives the depths.
        std::vector<int> depth(nodes.size(), 0);
        lengths_.assign(counts.size(), 0);
        for (std::size_t i = nodes.size(); i-- > 0;)
        {
            if (nodes[i].symbol >= 0)
                lengths_[static_cast<std::size_t>(nodes[i].symbol)] = depth[i];
            else
                depth[nodes[i].left] = depth[nodes[i].right] = depth[i] + 1;
        }
        return *std::ranges::max_element(lengths_) <= limit;
    }

    std::vector<int> lengths_;
    std::vector<std::uint32_t> codes_;
};

// Smallest length and distance of each length and distance code.
constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,
                                               33,   49,   65,   97,   129,  193,   257,   385,   513,   769,
                                               1025, 1537, 2049, 3073, 4097, 6145,  8193,  12289, 16385, 24577};

int LengthExtraBits(std::size_t code) { return code < 8 || code == 28 ? 0 : static_cast<int>(code / 4 - 1); }
int DistanceExtraBits(std::size_t code) { return code < 4 ? 0 : static_cast<int>(code / 2 - 1); }

// The code whose range holds `value`: the last one starting at or below it.
template <std::size_t N>
std::size_t CodeFor(const std::array<int, N>& bases, int value)
{
    return static_cast<std::size_t>(std::ranges::upper_bound(bases, value) - bases.begin() - 1);
}

// One LZ77 step: a literal byte, or a copy of `length` bytes from `distance`
// bytes back.
struct Token
{
    int length; // 0 for a literal
    int value;  // the literal byte, or the distance
};

// Greedy matching with one step of lookahead: a match is put off by a byte when
// the next position starts a longer one. Earlier positions with the same first
// three bytes are chained through a hash table.
std::vector<Token> FindMatches(std::span<const std::uint8_t> data)
{
    constexpr std::size_t kMinMatch = 3;
    constexpr std::size_t kMaxMatch = 258;
    constexpr std::size_t kWindow = 32768;
    constexpr int kMaxChain = 256; // candidates tried per position, to bound the time on long runs
    constexpr int kHashBits = 15;
    constexpr std::size_t kNone = SIZE_MAX;

    const std::size_t n = data.size();
    std::vector<std::size_t> head(std::size_t{1} << kHashBits, kNone);
    std::vector<std::size_t> previous(n, kNone);
    const auto hash = [&](std::size_t i) {
        const std::uint32_t three = data[i] | data[i + 1] << 8 | data[i + 2] << 16;
        return (three * 2654435761u) >> (32 - kHashBits);
    };
    const auto insert = [&](std::size_t i) {
        if (i + kMinMatch <= n)
            previous[i] = std::exchange(head[hash(i)], i);
    };
    const auto longest = [&](std::size_t i) {
        Token best{0, 0};
        if (i + kMinMatch > n)
            return best;
        const std::size_t most = std::min(kMaxMatch, n - i);
        int chain = kMaxChain;
        for (std::size_t j = head[hash(i)]; j != kNone && i - j <= kWindow && chain-- > 0; j = previous[j])
        {
            std::size_t length = 0;
            while (length < most && data[j + length] == data[i + length])
                ++length;
            if (length > static_cast<std::size_t>(best.length))
            {
                best = {static_cast<int>(length), static_cast<int>(i - j)};
                if (length == most)
                    break;
            }
        }
        return best.length >= static_cast<int>(kMinMatch) ? best : Token{0, 0};
    };

    std::vector<Token> tokens;
    Token match = longest(0);
    for (std::size_t i = 0; i < n;)
    {
        insert(i);
        const Token next = match.length > 0 ? longest(i + 1) : Token{0, 0};
        if (match.length == 0 || next.length > match.length)
        {
            tokens.push_back({0, data[i]});
            ++i;
            match = match.length == 0 ? longest(i) : next;
            continue;
        }
        tokens.push_back(match);
        for (std::size_t k = 1; k < static_cast<std::size_t>(match.length); ++k)
            insert(i + k);
        i += static_cast<std::size_t>(match.length);
        match = longest(i);
    }
    return tokens;
}

// The data as a single deflate block with codes fitted to it.
Bytes Deflate(std::span<const std::uint8_t> data)
{
    const std::vector<Token> tokens = FindMatches(data);
    std::vector<std::uint32_t> literalCounts(286), distanceCounts(30);
    for (const Token& t : tokens)
    {
        if (t.length == 0)
        {
            ++literalCounts[static_cast<std::size_t>(t.value)];
            continue;
        }
        ++literalCounts[257 + CodeFor(kLengthBase, t.length)];
        ++distanceCounts[CodeFor(kDistanceBase, t.value)];
    }
    literalCounts[256] = 1; // end of block
    const HuffmanCode literals(literalCounts, 15);
    const HuffmanCode distances(distanceCounts, 15);

    // The two tables' code lengths are sent as one sequence, trailing unused
    // symbols dropped, and run-length coded: 16 repeats the previous length
    // 3-6 times, 17 and 18 give 3-10 and 11-138 zeros.
    std::size_t literalCodes = 286, distanceCodes = 30;
    while (literals.Lengths()[literalCodes - 1] == 0)
        --literalCodes;
    while (distanceCodes > 1 && distances.Lengths()[distanceCodes - 1] == 0)
        --distanceCodes;
    std::vector<int> lengths = literals.Lengths();
    lengths.resize(literalCodes);
    const auto distanceLengths = std::span(distances.Lengths()).first(distanceCodes);
    lengths.insert(lengths.end(), distanceLengths.begin(), distanceLengths.end());

    struct LengthSymbol
    {
        int symbol, extra, extraBits;
    };
    std::vector<LengthSymbol> runs;
    for (std::size_t i = 0; i < lengths.size();)
    {
        const int length = lengths[i];
        std::size_t run = 1;
        while (i + run < lengths.size() && lengths[i + run] == length)
            ++run;
        i += run;
        if (length == 0)
        {
            for (; run >= 11; run -= std::min<std::size_t>(run, 138))
                runs.push_back({18, static_cast<int>(std::min<std::size_t>(run, 138) - 11), 7});
            if (run >= 3)
            {
                runs.push_back({17, static_cast<int>(run - 3), 3});
                run = 0;
            }
        }
        else
        {
            runs.push_back({length, 0, 0});
            for (--run; run >= 3; run -= std::min<std::size_t>(run, 6))
                runs.push_back({16, static_cast<int>(std::min<std::size_t>(run, 6) - 3), 2});
        }
        for (; run > 0; --run)
            runs.push_back({length, 0, 0});
    }
    std::vector<std::uint32_t> runCounts(19);
    for (const LengthSymbol& r : runs)
        ++runCounts[static_cast<std::size_t>(r.symbol)];
    const HuffmanCode runCode(runCounts, 7);
    // The run code's own lengths go in this order, so that the rarely used
    // tail can be left off.
    constexpr std::array<std::size_t, 19> kOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::size_t runCodes = kOrder.size();
    while (runCodes > 4 && runCode.Lengths()[kOrder[runCodes - 1]] == 0)
        --runCodes;

    BitWriter out;
    out.Put(1, 1); // the final block
    out.Put(2, 2); // with dynamic Huffman codes
    out.Put(static_cast<std::uint32_t>(literalCodes - 257), 5);
    out.Put(static_cast<std::uint32_t>(distanceCodes - 1), 5);
    out.Put(static_cast<std::uint32_t>(runCodes - 4), 4);
    for (std::size_t i = 0; i < runCodes; ++i)
        out.Put(static_cast<std::uint32_t>(runCode.Lengths()[kOrder[i]]), 3);
    for (const LengthSymbol& r : runs)
    {
        runCode.Put(out, static_cast<std::size_t>(r.symbol));
        out.Put(static_cast<std::uint32_t>(r.extra), r.extraBits);
    }
    for (const Token& t : tokens)
    {
        if (t.length == 0)
        {
            literals.Put(out, static_cast<std::size_t>(t.value));
            continue;
        }
        const std::size_t lengthCode = CodeFor(kLengthBase, t.length);
        literals.Put(out, 257 + lengthCode);
        out.Put(static_cast<std::uint32_t>(t.length - kLengthBase[lengthCode]), LengthExtraBits(lengthCode));
        const std::size_t distanceCode = CodeFor(kDistanceBase, t.value);
        distances.Put(out, distanceCode);
        out.Put(static_cast<std::uint32_t>(t.value - kDistanceBase[distanceCode]), DistanceExtraBits(distanceCode));
    }
    literals.Put(out, 256);
    return out.Finish();
}

// ---------------------------------------------------------------------------
// PNG and .ico

std::uint32_t Crc32(std::span<const std::uint8_t> data)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n)
        {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : data)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(std::span<const std::uint8_t> data)
{
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data)
    {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutChunk(Bytes& out, std::string_view type, const Bytes& data)
{
    Put32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    Bytes body(type.begin(), type.end());
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Put32BigEndian(out, Crc32(body));
}

// The PNG filter that guesses each byte from its left (a), upper (b) and
// upper-left (c) neighbours, whichever is closest to a + b - c.
int Paeth(int a, int b, int c)
{
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The rows, each led by the number of the PNG filter it went through. Every
// row takes the filter that leaves the smallest sum of its bytes read as
// signed, the usual guess at what deflate will compress best: Up turns a
// vertical gradient into a row of equal small numbers, Sub a flat run into
// zeros.
Bytes FilteredRows(const Image& image)
{
    const auto stride = static_cast<std::size_t>(image.size) * 4;
    Bytes above(stride), row(stride), candidate(stride), best(stride), out;
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.size); ++y)
    {
        for (std::size_t x = 0; x < static_cast<std::size_t>(image.size); ++x)
        {
            const Color c = image.pixels[y * static_cast<std::size_t>(image.size) + x];
            std::ranges::copy(std::array{c.r, c.g, c.b, c.a}, row.begin() + static_cast<std::ptrdiff_t>(4 * x));
        }
        int bestFilter = 0;
        int bestCost = INT_MAX;
        for (int filter = 0; filter <= 4; ++filter)
        {
            int cost = 0;
            for (std::size_t i = 0; i < stride; ++i)
            {
                const int a = i >= 4 ? row[i - 4] : 0;
                const int b = above[i];
                const int c = i >= 4 ? above[i - 4] : 0;
                const int guess = std::array{0, a, b, (a + b) / 2, Paeth(a, b, c)}[static_cast<std::size_t>(filter)];
                candidate[i] = static_cast<std::uint8_t>(row[i] - guess);
                cost += std::abs(static_cast<std::int8_t>(candidate[i]));
            }
            if (cost < bestCost)
            {
                bestFilter = filter;
                bestCost = cost;
                best.swap(candidate);
            }
        }
        out.push_back(static_cast<std::uint8_t>(bestFilter));
        out.insert(out.end(), best.begin(), best.end());
        above.swap(row);
    }
    return out;
}

// An RGBA PNG: filtered rows in a zlib stream of one deflate block.
Bytes Png(const Image& image)
{
    const auto size = static_cast<std::uint32_t>(image.size);
    const Bytes rows = FilteredRows(image);
    Bytes zlib = {0x78, 0xDA}; // deflate with a 32 KiB window, best compression
    const Bytes compressed = Deflate(rows);
    zlib.insert(zlib.end(), compressed.begin(), compressed.end());
    Put32BigEndian(zlib, Adler32(rows));

    Bytes header;
    Put32BigEndian(header, size);
    Put32BigEndian(header, size);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits a sample, RGBA, deflate, filter method 0, not interlaced

    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", zlib);
    PutChunk(out, "IEND", {});
    return out;
}

struct IconImage
{
    int size;
    int bits;
    Bytes data;
};

Bytes Ico(const std::vector<IconImage>& images)
{
    Bytes out;
    Put16(out, 0);
    Put16(out, 1); // icon, not cursor
    Put16(out, static_cast<std::uint32_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const IconImage& image : images)
    {
        out.push_back(static_cast<std::uint8_t>(image.size == 256 ? 0 : image.size));
        out.push_back(static_cast<std::uint8_t>(image.size == 256 ? 0 : image.size));
        out.push_back(image.bits == 4 ? 16 : 0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, static_cast<std::uint32_t>(image.bits));
        Put32(out, static_cast<std::uint32_t>(image.data.size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(image.data.size());
    }
    for (const IconImage& image : images)
        out.insert(out.end(), image.data.begin(), image.data.end());
    return out;
}

// ---------------------------------------------------------------------------
// The icons

const Paint kWhitePaint = Solid(kWhite, kWhite);

// A window with a dark edge, a blue title bar and a client area, the common
// ground of the command prompt and the generic application.
struct WindowMetrics
{
    double x0, y0, x1, y1; // outer edge
    double corner;
    double title;          // height of the title bar inside the edge
    double edge;           // width of the dark edge
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
    scene.push_back({Rect(x + in + stroke, top + in + stroke + thickTop, x + box - in - stroke, top + box - in - stroke),
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
    for (int i = steps; i >= 1; --i)
    {
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
    if (size == 256)
    {
        const WindowMetrics w{10, 24, 246, 236, 14, 36, 3};
        AddShadow(scene, RoundRect(w.x0, w.y0, w.x1, w.y1, w.corner), {0, 5}, 8, 8);
        AddWindow(scene, w, console);
        AddTitleButtons(scene, 236, 34, 20, 3);
        const int cell = 6;
        const int x = AddText(scene, kFontLarge, "C:\\>", 30, 84, cell, text);
        scene.push_back({Rect(x, 84 + 6 * cell, x + 5 * cell, 84 + 7 * cell), cursor});
    }
    else if (size == 48)
    {
        const WindowMetrics w{1, 4, 47, 44, 3, 8, 1};
        AddWindow(scene, w, console);
        AddTitleButtons(scene, 45, 6, 6, 1);
        const int x = AddText(scene, kFontLarge, "C:\\>", 5, 17, 1, text);
        scene.push_back({Rect(x, 22, x + 5, 24), cursor});
    }
    else if (size == 32)
    {
        const WindowMetrics w{1, 3, 31, 29, 2, 5, 1};
        AddWindow(scene, w, console);
        // Three buttons do not fit a 5-pixel title bar; a lone close box does.
        scene.push_back({Rect(26, 5, 29, 8), Solid(Rgb(0xE0443A), kRed)});
        const int x = AddText(scene, kFontSmall, "C:\\>", 4, 13, 1, text);
        scene.push_back({Rect(x, 17, x + 3, 18), cursor});
    }
    else
    {
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
    struct Metrics
    {
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

    if (m.grid)
    {
        const double step = (sx1 - sx0) / 6;
        const Paint grid = Solid(Rgb(0x14502A), kGreen);
        for (double x = sx0 + step; x < sx1 - 0.5; x += step)
            scene.push_back({Rect(std::round(x), sy0, std::round(x) + 1, sy1), grid});
        for (double y = sy0 + step; y < sy1 - 0.5; y += step)
            scene.push_back({Rect(sx0, std::round(y), sx1, std::round(y) + 1), grid});
    }

    // The load curve is drawn as one column per pixel, topped with the line
    // colour and never more than a pixel higher or lower than its neighbour, so
    // the tops join into clean diagonals at every colour depth instead of the
    // lumps a thin slanted line leaves after thresholding.
    const std::vector<int> heights =
        size == 48   ? std::vector<int>{8,  9,  10, 11, 12, 13, 13, 12, 11, 10, 9,  10, 11, 12, 13, 14, 15, 16,
                                        17, 18, 17, 16, 15, 14, 15, 16, 17, 18, 19, 20, 21, 20, 19, 18, 17, 18}
        : size == 32 ? std::vector<int>{5, 6, 7, 8, 7, 6, 5, 5, 6, 7, 8, 9, 10, 11, 12, 11, 10, 9, 10, 11, 12, 13, 12, 11}
        : size == 24 ? std::vector<int>{3, 4, 5, 6, 5, 4, 3, 4, 5, 6, 7, 8, 9, 8, 7, 6, 5, 6}
                     : std::vector<int>{2, 3, 4, 5, 4, 3, 2, 3, 4, 5, 6, 5};
    const Paint area = Gradient(Rgb(0x22A045), Rgb(0x0C4A1E), sy0, sy1, kGreen);
    const Paint line = Solid(Rgb(0x6CFF7C), kLime);
    for (std::size_t i = 0; i < heights.size(); ++i)
    {
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
    struct Metrics
    {
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
    scene.push_back({Arc(centre, m.outer - m.stroke / 2, m.stroke, m.opening, 360 - m.opening, Cap::Round), kWhitePaint});
    // Round ends like the ring's where there are pixels enough to show them.
    if (size >= 32)
        scene.push_back({Line({centre.x, m.barTop + m.stroke / 2}, {centre.x, m.centreY}, m.stroke, Cap::Round),
                         kWhitePaint});
    else
        scene.push_back({Line({centre.x, m.barTop}, {centre.x, std::ceil(m.centreY)}, m.stroke, Cap::Butt), kWhitePaint});
    return scene;
}

Scene Restart(int size)
{
    // Radius of the arrows' centre line, stroke, half the width of an arrow head
    // and its length, the angle the body of an arrow sweeps, and the dark
    // outline around it all. The heads sit at three and nine o'clock, where
    // they point straight down and up and so land squarely on the pixels.
    struct Metrics
    {
        double radius, stroke, head, headLength, sweep, outline;
    };
    const Metrics m = size == 48   ? Metrics{15, 6, 7, 8, 125, 2}
                      : size == 32 ? Metrics{10, 4, 5, 5.5, 125, 1}
                      : size == 24 ? Metrics{7.5, 3, 3.5, 4, 120, 1}
                      : size == 20 ? Metrics{6, 2, 3, 3.5, 120, 1}
                                   : Metrics{5, 2, 3, 3, 125, 0};
    const Vec centre{size / 2.0, size / 2.0};
    std::vector<Shape> arrows;
    for (double base : {90.0, 270.0})
    {
        const Vec along = OnCircle({0, 0}, 1, base + 90); // clockwise tangent at the base
        arrows.push_back(Arc(centre, m.radius, m.stroke, base - m.sweep, base, Cap::Butt));
        arrows.push_back(Polygon({OnCircle(centre, m.radius + m.head, base),
                                  OnCircle(centre, m.radius, base) + along * m.headLength,
                                  OnCircle(centre, m.radius - m.head, base)}));
    }
    Scene scene;
    const double top = centre.y - m.radius;
    const double bottom = centre.y + m.radius;
    // Where there is no room for an outline the arrows take its darker green
    // themselves, to stand out against a light button face.
    const Paint fill = m.outline > 0 ? Gradient(Rgb(0x7BE07B), Rgb(0x1E9A34), top, bottom, kLime)
                                     : Gradient(Rgb(0x3DB84A), Rgb(0x0F7024), top, bottom, kGreen);
    if (m.outline > 0)
        for (const Shape& shape : arrows)
            scene.push_back({Grow(shape, m.outline), Solid(Rgb(0x0E5A1E), kGreen)});
    for (const Shape& shape : arrows)
        scene.push_back({shape, fill});
    return scene;
}

Scene Application(int size)
{
    Scene scene;
    const Paint client = Gradient(Rgb(0xFFFFFF), Rgb(0xEDF2F7), 0, size, kWhite);
    const Paint text = Solid(Rgb(0x9AA6B4), kGrey);
    if (size == 48)
    {
        const WindowMetrics w{1, 4, 47, 44, 3, 8, 1};
        AddWindow(scene, w, client);
        AddTitleButtons(scene, 45, 6, 6, 1);
        for (auto [y, right] : {std::pair{16, 40}, {20, 34}, {24, 42}, {28, 30}, {32, 38}, {36, 26}})
            scene.push_back({Rect(6, y, right, y + 2), text});
    }
    else if (size == 32)
    {
        const WindowMetrics w{1, 3, 31, 29, 2, 5, 1};
        AddWindow(scene, w, client);
        scene.push_back({Rect(26, 5, 29, 8), Solid(Rgb(0xE0443A), kRed)});
        for (auto [y, right] : {std::pair{12, 25}, {15, 21}, {18, 26}, {21, 19}, {24, 23}})
            scene.push_back({Rect(5, y, right, y + 1), text});
    }
    else
    {
        const WindowMetrics w{0, 1, 16, 15, 1, 3, 1};
        AddWindow(scene, w, client);
        for (auto [y, right] : {std::pair{7, 12}, {9, 10}, {11, 13}})
            scene.push_back({Rect(3, y, right, y + 1), text});
    }
    return scene;
}

struct IconFile
{
    std::string_view name;
    Scene (*draw)(int size);
    std::vector<int> sizes; // largest first
    bool withPng;           // adds a 256 px image stored as PNG
};

const std::vector<IconFile> kIcons = {
    {"command_prompt.ico", CommandPrompt, {48, 32, 16}, true},
    {"task_manager.ico", TaskManager, {48, 32, 24, 16}, false},
    {"shut_down.ico", ShutDown, {48, 32, 24, 16}, false},
    {"restart.ico", Restart, {48, 32, 24, 20, 16}, false},
    {"application.ico", Application, {48, 32, 16}, false},
};

// Entries run from the largest image to the smallest, so the PNG comes first,
// and each BMP size in 4-, 8- then 32-bit.
std::vector<IconImage> Images(const IconFile& icon)
{
    std::vector<IconImage> images;
    if (icon.withPng)
        images.push_back({256, 32, Png(RenderSmooth(icon.draw(256), 256))});
    for (int size : icon.sizes)
    {
        const Scene scene = icon.draw(size);
        images.push_back({size, 4, IndexedBitmap(scene, size, 4)});
        images.push_back({size, 8, IndexedBitmap(scene, size, 8)});
        images.push_back({size, 32, TrueColorBitmap(RenderSmooth(scene, size))});
    }
    return images;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: make_icons <output-directory>\n");
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    for (const IconFile& icon : kIcons)
    {
        const Bytes bytes = Ico(Images(icon));
        const std::filesystem::path path = directory / icon.name;
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file.flush())
        {
            std::fprintf(stderr, "make_icons: cannot write %s\n", path.string().c_str());
            return 1;
        }
    }
    return 0;
}
