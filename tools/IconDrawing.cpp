#include "IconDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>
#include <utility>

namespace kelvory::icons {
namespace {

// Samples per pixel along each axis, for both the anti-aliasing and the
// coverage test of the crisp images.
constexpr int kGrid = 8;

// The colours an 8-bit image may use: the 16 VGA colours, so the flat colours
// of the 4-bit images are available unchanged, then an even 6x6x6 colour cube
// and 24 greys between the cube's levels.
std::array<Color, 256> MakeBytePalette()
{
    std::array<Color, 256> palette{};
    std::size_t next = 0;
    for (Color c : kVgaPalette) {
        palette[next++] = c;
    }
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette[next++] = {static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51)};
            }
        }
    }
    for (int i = 0; i < 24; ++i) {
        const auto level = static_cast<std::uint8_t>(8 + i * 10);
        palette[next++] = {level, level, level};
    }
    return palette;
}

const std::array<Color, 256> kBytePalette = MakeBytePalette();

Color Nearest(std::span<const Color> palette, Color c)
{
    Color best = palette.front();
    int bestDistance = 1 << 30;
    for (Color entry : palette) {
        const int dr = c.r - entry.r;
        const int dg = c.g - entry.g;
        const int db = c.b - entry.b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = entry;
            bestDistance = distance;
        }
    }
    return best;
}

double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
double Length(Vec a) { return std::sqrt(Dot(a, a)); }

double SegmentDistance(Vec p, Vec a, Vec b)
{
    const Vec ab = b - a;
    const double t = std::clamp(Dot(p - a, ab) / Dot(ab, ab), 0.0, 1.0);
    return Length(p - (a + ab * t));
}

Vec Sample(int x, int y, int sx, int sy) { return {x + (sx + 0.5) / kGrid, y + (sy + 0.5) / kGrid}; }

Image RenderSmooth(const Scene& scene, int size)
{
    Image image{size, std::vector<Color>(static_cast<std::size_t>(size) * size)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Sums of premultiplied colour over the pixel's samples.
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kGrid; ++sy) {
                for (int sx = 0; sx < kGrid; ++sx) {
                    const Vec p = Sample(x, y, sx, sy);
                    double sr = 0, sg = 0, sb = 0, sa = 0;
                    for (const Layer& layer : scene) {
                        if (layer.shape(p) > 0) {
                            continue;
                        }
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
            }
            const auto alpha = static_cast<std::uint8_t>(std::lround(a / (kGrid * kGrid) * 255));
            const auto straight = [a](double sum) { return static_cast<std::uint8_t>(std::lround(sum / a)); };
            image.pixels[static_cast<std::size_t>(y) * size + x] =
                alpha == 0 ? kTransparent : Color{straight(r), straight(g), straight(b), alpha};
        }
    }
    return image;
}

// Translucent layers, like the shadow of the large image, have no place in a
// crisp picture and are left out.
Image RenderCrisp(const Scene& scene, int size, int bitsPerPixel)
{
    Image image{size, std::vector<Color>(static_cast<std::size_t>(size) * size, kTransparent)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            for (const Layer& layer : scene) {
                if (layer.paint.Middle().a < 128) {
                    continue;
                }
                int covered = 0;
                for (int sy = 0; sy < kGrid; ++sy) {
                    for (int sx = 0; sx < kGrid; ++sx) {
                        if (layer.shape(Sample(x, y, sx, sy)) <= 0) {
                            ++covered;
                        }
                    }
                }
                if (2 * covered >= kGrid * kGrid) {
                    image.pixels[static_cast<std::size_t>(y) * size + x] =
                        bitsPerPixel == 4 ? Nearest(kVgaPalette, layer.paint.flat)
                                          : Nearest(kBytePalette, layer.paint.Middle());
                }
            }
        }
    }
    return image;
}

} // namespace

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k}; }

Shape RoundRect(double x0, double y0, double x1, double y1, double radius)
{
    return [=](Vec p) {
        const double qx = std::abs(p.x - (x0 + x1) / 2) - ((x1 - x0) / 2 - radius);
        const double qy = std::abs(p.y - (y0 + y1) / 2) - ((y1 - y0) / 2 - radius);
        return Length({std::max(qx, 0.0), std::max(qy, 0.0)}) + std::min(std::max(qx, qy), 0.0) - radius;
    };
}

Shape Rect(double x0, double y0, double x1, double y1) { return RoundRect(x0, y0, x1, y1, 0); }

Vec OnCircle(Vec centre, double radius, double degrees)
{
    const double a = degrees * std::numbers::pi / 180;
    return {centre.x + radius * std::sin(a), centre.y - radius * std::cos(a)};
}

Shape Arc(Vec centre, double radius, double width, double from, double to, Cap cap)
{
    const Vec start = OnCircle(centre, radius, from);
    const Vec end = OnCircle(centre, radius, to);
    return [=](Vec p) {
        const Vec d = p - centre;
        const double angle = std::atan2(d.x, -d.y) * 180 / std::numbers::pi;
        if (from + std::fmod(angle - from + 720, 360) <= to) {
            return std::abs(Length(d) - radius) - width / 2;
        }
        if (cap == Cap::Round) {
            return std::min(Length(p - start), Length(p - end)) - width / 2;
        }
        return std::min(
            SegmentDistance(p, OnCircle(centre, radius - width / 2, from), OnCircle(centre, radius + width / 2, from)),
            SegmentDistance(p, OnCircle(centre, radius - width / 2, to), OnCircle(centre, radius + width / 2, to)));
    };
}

Shape Line(Vec a, Vec b, double width, Cap cap)
{
    if (cap == Cap::Round) {
        return [=](Vec p) { return SegmentDistance(p, a, b) - width / 2; };
    }
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
        for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
            const Vec a = corners[j];
            const Vec b = corners[i];
            nearest = std::min(nearest, SegmentDistance(p, a, b));
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y)) {
                inside = !inside;
            }
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

Color Paint::At(double y) const
{
    const double t = std::clamp((y - y0) / (y1 - y0), 0.0, 1.0);
    const auto mix = [t](std::uint8_t u, std::uint8_t v) {
        return static_cast<std::uint8_t>(std::lround(u + (v - u) * t));
    };
    return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), mix(top.a, bottom.a)};
}

Color Paint::Middle() const { return At((y0 + y1) / 2); }

Paint Solid(Color color, Color flat) { return {color, color, 0, 1, flat}; }

Paint Gradient(Color top, Color bottom, double y0, double y1, Color flat) { return {top, bottom, y0, y1, flat}; }

Image Render(const Scene& scene, int size, int bitsPerPixel)
{
    return bitsPerPixel == 32 ? RenderSmooth(scene, size) : RenderCrisp(scene, size, bitsPerPixel);
}

} // namespace kelvory::icons
