#pragma once
// When a file counts as being there, decided from the platform's answers about
// its path. The queries are passed in, so the decision itself is plain code that
// runs the same on the host and on Windows.
#include <cstdint>
#include <functional>

namespace kelvory {

// The Windows values that the decision below needs to know.
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorInvalidName = 123;

// What reading the attributes of the path gave: the attributes, or why not.
struct AttributesAnswer {
    bool read = false;
    std::uint32_t attributes = 0;
    std::uint32_t error = 0;
};

// What listing the path by name found.
enum class ListedEntry { None, File, Directory };

// What opening the path for reading (following links) gave.
struct OpenAnswer {
    bool opened = false;
    std::uint32_t error = 0;
};

// The three platform queries about one path, asked only as far as needed.
struct FileQueries {
    std::function<AttributesAnswer()> readAttributes;
    std::function<ListedEntry()> findEntry;
    std::function<OpenAnswer()> openTarget;
};

// Whether the path counts as an existing file, asking the queries in order.
bool DecideFileExists(const FileQueries& queries);

} // namespace kelvory
