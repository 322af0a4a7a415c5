#include "IconFormats.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <stdexcept>
#include <string>

namespace kelvory::icons {
namespace {

// Everything in .ico and BMP is little-endian.
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

int RowBytes(int size, int bits) { return (size * bits + 31) / 32 * 4; }

// Pixels at least half opaque are opaque in the mask, the same line the crisp
// images draw.
bool Transparent(Color c) { return c.a < 128; }

std::uint32_t Packed(Color c) { return static_cast<std::uint32_t>(c.r << 16 | c.g << 8 | c.b); }

// The colours an indexed image stores. Black is always among them, as the
// colour of the transparent pixels; in an 8-bit palette it comes first, like
// every colour in ascending order, so the palette depends on nothing but the
// pixels.
std::vector<Color> PaletteOf(const Image& image, int bitsPerPixel)
{
    if (bitsPerPixel == 4) {
        return {kVgaPalette.begin(), kVgaPalette.end()};
    }
    std::vector<Color> palette{kBlack};
    for (Color c : image.pixels) {
        const Color opaque{c.r, c.g, c.b};
        if (!Transparent(c) && std::ranges::find(palette, opaque) == palette.end()) {
            palette.push_back(opaque);
        }
    }
    std::ranges::sort(palette, {}, Packed);
    if (palette.size() > 256) {
        throw std::logic_error("an 8-bit image with more than 256 colours");
    }
    return palette;
}

// BITMAPINFOHEADER of an icon image: the height counts the colour rows and the
// AND mask rows together.
void PutBitmapHeader(Bytes& out, int size, int bits, std::size_t paletteEntries)
{
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(size));
    Put32(out, static_cast<std::uint32_t>(2 * size));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, static_cast<std::uint32_t>((RowBytes(size, bits) + RowBytes(size, 1)) * size));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(paletteEntries));
    Put32(out, 0);
}

void PutColorRows(Bytes& out, const Image& image, int bits, const std::vector<Color>& palette)
{
    const int size = image.size;
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(RowBytes(size, bits)));
        for (int x = 0; x < size; ++x) {
            const Color c = image.At(x, y);
            if (bits == 32) {
                std::ranges::copy(std::array{c.b, c.g, c.r, c.a}, row.begin() + 4 * x);
                continue;
            }
            const Color stored = Transparent(c) ? kBlack : Color{c.r, c.g, c.b};
            const auto entry = std::ranges::find(palette, stored);
            if (entry == palette.end()) {
                throw std::logic_error("colour " + std::to_string(Packed(c)) + " is not in the palette");
            }
            const auto index = static_cast<std::uint8_t>(entry - palette.begin());
            if (bits == 8) {
                row[static_cast<std::size_t>(x)] = index;
            } else {
                row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

// The AND mask: a set bit lets the screen show through.
void PutMask(Bytes& out, const Image& image)
{
    const int size = image.size;
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(RowBytes(size, 1)));
        for (int x = 0; x < size; ++x) {
            if (Transparent(image.At(x, y))) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

} // namespace

Bytes BitmapImage(const Image& image, int bitsPerPixel)
{
    const std::vector<Color> palette = bitsPerPixel == 32 ? std::vector<Color>{} : PaletteOf(image, bitsPerPixel);
    Bytes out;
    PutBitmapHeader(out, image.size, bitsPerPixel, palette.size());
    for (Color c : palette) {
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    PutColorRows(out, image, bitsPerPixel, palette);
    PutMask(out, image);
    return out;
}

Bytes PngImage(const Image& image)
{
    const auto size = static_cast<png_uint_32>(image.size);
    Bytes rgba;
    for (Color c : image.pixels) {
        rgba.insert(rgba.end(), {c.r, c.g, c.b, c.a});
    }
    std::vector<png_bytep> rows;
    for (std::size_t y = 0; y < size; ++y) {
        rows.push_back(rgba.data() + y * size * 4);
    }
    Bytes out;

    // libpng reports a failure by jumping back to the setjmp, so everything
    // with a destructor lives above it.
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng cannot write the image");
    }
    png_set_write_fn(
        png, &out,
        [](png_structp writer, png_bytep data, png_size_t length) {
            auto* bytes = static_cast<Bytes*>(png_get_io_ptr(writer));
            bytes->insert(bytes->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // The image is embedded in kelvory.exe, where every byte counts.
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes IconFile(std::span<const IconFileImage> images)
{
    Bytes out;
    Put16(out, 0);
    Put16(out, 1); // an icon, not a cursor
    Put16(out, static_cast<std::uint32_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const IconFileImage& image : images) {
        // A width and height of 0 stand for 256.
        out.push_back(static_cast<std::uint8_t>(image.size == 256 ? 0 : image.size));
        out.push_back(static_cast<std::uint8_t>(image.size == 256 ? 0 : image.size));
        out.push_back(image.bitsPerPixel == 4 ? 16 : 0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, static_cast<std::uint32_t>(image.bitsPerPixel));
        Put32(out, static_cast<std::uint32_t>(image.data.size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(image.data.size());
    }
    for (const IconFileImage& image : images) {
        out.insert(out.end(), image.data.begin(), image.data.end());
    }
    return out;
}

} // namespace kelvory::icons
