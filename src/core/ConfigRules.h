#pragma once
// Where kelvory.ini lives, how its entries are named, and when the file counts as
// being there. The platform's file queries are passed in, so the decision itself
// is plain code that runs the same on the host and on Windows.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kelvory {

inline constexpr std::u16string_view kConfigFileName = u"kelvory.ini";
inline constexpr std::u16string_view kSectionPrefix = u"prog";
// Zero-terminated: it goes to the profile reader as it is.
inline constexpr char16_t kEntryKey[] = u"exe";
// Programs are configured in sections prog1 ... prog8.
inline constexpr int kEntryCount = 8;
// Characters the profile reader may return for one entry, its terminating zero
// included: a longer value arrives cut to 2047 characters.
inline constexpr int kEntryBufferSize = 2048;

// The directory part of executablePath (up to and including its last backslash
// or colon; a forward slash does not count) followed by kelvory.ini.
std::u16string ConfigFilePathBeside(std::u16string_view executablePath);

// "prog" and the number in decimal, without leading zeros.
std::u16string ConfigSectionName(int number);

// The Windows values that the decision below needs to know.
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorInvalidName = 123;

// What reading the attributes of the path gave: the attributes, or why not.
struct AttributesAnswer {
    bool m_read = false;
    std::uint32_t m_attributes = 0;
    std::uint32_t m_error = 0;
};

// What listing the path by name found.
enum class ListedEntry { None, File, Directory };

// What opening the path for reading (following links) gave.
struct OpenAnswer {
    bool m_opened = false;
    std::uint32_t m_error = 0;
};

// The three platform queries about one path, asked only as far as needed.
struct FileQueries {
    std::function<AttributesAnswer()> m_readAttributes;
    std::function<ListedEntry()> m_findEntry;
    std::function<OpenAnswer()> m_openTarget;
};

// Whether the path counts as an existing file, asking the queries in order.
bool DecideFileExists(const FileQueries& queries);

} // namespace kelvory
