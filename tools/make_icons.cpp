// make_icons draws Kelvory's icons and writes them as .ico files:
//
//     make_icons <output-directory>
//
// Each file holds the images its image set lists. The bitmaps depend on nothing
// but the drawings, so they come out the same byte for byte on every machine;
// the PNG image's compressed bytes also depend on the zlib version, its pixels
// do not. The icon tests check both against the committed icons.
#include "IconArt.h"
#include "IconFormats.h"
#include "IconImageSets.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

namespace {

using namespace kelvory;
using namespace kelvory::icons;

Bytes DrawIconFile(const IconImageSet& set)
{
    std::vector<IconFileImage> images;
    for (const IconImage& image : ImagesInFileOrder(set)) {
        const Image pixels = DrawImage(set.resourceId, image.size, image.bitsPerPixel);
        images.push_back(
            {image.size, image.bitsPerPixel, image.png ? PngImage(pixels) : BitmapImage(pixels, image.bitsPerPixel)});
    }
    return IconFile(images);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons <output-directory>\n");
        return 2;
    }
    try {
        const std::filesystem::path directory = argv[1];
        std::filesystem::create_directories(directory);
        for (const IconImageSet& set : kIconImageSets) {
            const Bytes bytes = DrawIconFile(set);
            const std::filesystem::path path = directory / set.fileName;
            std::ofstream file(path, std::ios::binary);
            file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            if (!file.flush()) {
                std::fprintf(stderr, "make_icons: cannot write %s\n", path.string().c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_icons: %s\n", e.what());
        return 1;
    }
    return 0;
}
