#pragma once
// Reads an .ico file: its directory and the bytes of every image. Shared by the
// host tests and the tests under Wine, which hand the images to Windows.
#include "IconImageSets.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kelvory::test {

using Bytes = std::vector<std::uint8_t>;

struct IconFileEntry {
    int width = 0; // 0 stands for 256
    int height = 0;
    int colorCount = 0;
    int planes = 0;
    int bitsPerPixel = 0;
    std::size_t offset = 0;
    Bytes data;
};

inline std::uint32_t ReadLe16(const Bytes& bytes, std::size_t at) { return bytes.at(at) | bytes.at(at + 1) << 8; }

inline std::uint32_t ReadLe32(const Bytes& bytes, std::size_t at)
{
    return ReadLe16(bytes, at) | ReadLe16(bytes, at + 2) << 16;
}

// Throws std::runtime_error when the file cannot be read, is not an icon file
// or names an image outside itself.
inline std::vector<IconFileEntry> ReadIconFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    const Bytes bytes{std::istreambuf_iterator<char>(file), {}};
    if (bytes.size() < 6 || ReadLe16(bytes, 0) != 0 || ReadLe16(bytes, 2) != 1) {
        throw std::runtime_error(path + " is not an icon file");
    }
    std::vector<IconFileEntry> entries;
    for (std::size_t i = 0; i < ReadLe16(bytes, 4); ++i) {
        const std::size_t at = 6 + 16 * i;
        IconFileEntry entry{bytes.at(at),
                            bytes.at(at + 1),
                            bytes.at(at + 2),
                            static_cast<int>(ReadLe16(bytes, at + 4)),
                            static_cast<int>(ReadLe16(bytes, at + 6)),
                            ReadLe32(bytes, at + 12),
                            {}};
        const std::size_t length = ReadLe32(bytes, at + 8);
        if (entry.offset > bytes.size() || length > bytes.size() - entry.offset) {
            throw std::runtime_error(path + ": image " + std::to_string(i) + " lies outside the file");
        }
        entry.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(entry.offset),
                          bytes.begin() + static_cast<std::ptrdiff_t>(entry.offset + length));
        entries.push_back(std::move(entry));
    }
    return entries;
}

// The committed icon file of the set, from the folder the build names.
inline std::vector<IconFileEntry> ReadCommittedIcon(const IconImageSet& set)
{
    return ReadIconFile(std::string(KELVORY_ICON_DIR) + "/" + std::string(set.fileName));
}

struct ListedImage {
    IconImage listed;
    IconFileEntry stored;
};

// Every image the set lists, with what the committed file stores in its place.
// Throws std::runtime_error when the file holds another number of images.
inline std::vector<ListedImage> ReadListedImages(const IconImageSet& set)
{
    std::vector<IconFileEntry> stored = ReadCommittedIcon(set);
    const std::vector<IconImage> listed = ImagesInFileOrder(set);
    if (stored.size() != listed.size()) {
        throw std::runtime_error(std::string(set.fileName) + " holds " + std::to_string(stored.size()) +
                                 " images, its set lists " + std::to_string(listed.size()));
    }
    std::vector<ListedImage> images;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        images.push_back({listed[i], std::move(stored[i])});
    }
    return images;
}

} // namespace kelvory::test
