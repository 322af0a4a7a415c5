#pragma once
// The drawing kit of the icon tool: colours, shapes as signed distance fields,
// scenes of painted shapes, and their rendering into pixels at one size.
//
// Coordinates are in pixels of the image being drawn, y pointing down; pixel
// (i, j) covers [i, i+1) x [j, j+1). A shape is negative inside and positive
// outside, and for the basic shapes its value is the distance to the edge, which
// makes an outline a matter of growing a shape by its width.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace kelvory::icons {

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;

    bool operator==(const Color&) const = default;
};

constexpr Color Rgb(std::uint32_t rgb, std::uint8_t alpha = 255)
{
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb),
            alpha};
}

constexpr Color kTransparent{0, 0, 0, 0};

// The 16 colours every display adapter since VGA shows, in their standard
// order; a 4-bit icon must carry exactly this table to look right on a
// 16-colour screen.
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

constexpr std::array<Color, 16> kVgaPalette = {kBlack, kMaroon, kGreen, kOlive,  kNavy, kPurple,  kTeal, kSilver,
                                               kGrey,  kRed,    kLime,  kYellow, kBlue, kFuchsia, kAqua, kWhite};

struct Vec {
    double x = 0;
    double y = 0;
};

Vec operator+(Vec a, Vec b);
Vec operator-(Vec a, Vec b);
Vec operator*(Vec a, double k);

using Shape = std::function<double(Vec)>;

enum class Cap { Butt, Round };

Shape RoundRect(double x0, double y0, double x1, double y1, double radius);
Shape Rect(double x0, double y0, double x1, double y1);
// Angles are in degrees, clockwise from twelve o'clock, as one reads a dial.
Vec OnCircle(Vec centre, double radius, double degrees);
// A stroke of the given width along the circle of the given radius, from angle
// `from` clockwise to angle `to`.
Shape Arc(Vec centre, double radius, double width, double from, double to, Cap cap);
Shape Line(Vec a, Vec b, double width, Cap cap);
Shape Polygon(std::vector<Vec> corners);
Shape Grow(Shape shape, double by);
Shape Intersect(Shape a, Shape b);

// How a shape is filled: a vertical gradient (or a solid colour) in the 32-bit
// images, the gradient's middle colour in the 8-bit ones (a gradient through a
// 256-colour palette only makes bands), and a colour from the VGA table in the
// 4-bit ones, chosen by hand because the nearest VGA colour to a shaded blue or
// orange is often a poor one.
struct Paint {
    Color top;
    Color bottom;
    double y0 = 0;
    double y1 = 1;
    Color flat;

    Color At(double y) const;
    Color Middle() const;
};

Paint Solid(Color color, Color flat);
Paint Gradient(Color top, Color bottom, double y0, double y1, Color flat);

struct Layer {
    Shape shape;
    Paint paint;
};

// Layers are painted in order, each over the ones before.
using Scene = std::vector<Layer>;

struct Image {
    int size = 0;
    std::vector<Color> pixels; // straight (not premultiplied) alpha, rows top-down

    Color At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * size + x]; }
};

// The scene as an image of the given colour depth. The 32-bit image is
// anti-aliased by supersampling. The 4- and 8-bit images are crisp: a pixel
// takes the colour of the topmost shape covering at least half of it, from the
// VGA table or the 256-colour palette, and is transparent when no shape does.
Image Render(const Scene& scene, int size, int bitsPerPixel);

} // namespace kelvory::icons
