#pragma once
// The icon directory that the platform's icon extraction reads of a configured
// program: the first icon group of a program, or the directory at the head of
// an icon file. The extraction trusts the directory's count, sizes and offsets
// and reads wherever they lead, so a directory that does not fit its resource or
// its file would make it read past the file. Such a directory is refused before
// the extraction sees it, and its program counts as one without an icon.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace kelvory {

// What the extraction makes of a file, told by its first bytes: a program
// (a DOS header's "MZ"), an icon or cursor file (a directory header whose
// reserved word is 0 and whose type is 1 or 2), or anything else, of which it
// reads no icon directory.
enum class IconSource { Program, IconFile, Other };
IconSource IconSourceOf(std::span<const std::byte> start) noexcept;

// How many first bytes of a file tell its source and, for an icon file, the
// length of its directory: the directory's header.
inline constexpr std::size_t kIconDirectoryHeaderSize = 6;

// An icon file's directory, header and entries, as long as its header says;
// 0 when start holds no whole header.
std::size_t IconFileDirectoryLength(std::span<const std::byte> start) noexcept;

// True when an icon file of fileSize bytes, whose first bytes are start, holds
// a directory that fits: at least one entry, every entry inside the file, and
// every image of a size above 0 and inside the file. start must hold the whole
// directory (IconFileDirectoryLength) for the directory to fit.
bool IconFileDirectoryFits(std::span<const std::byte> start, std::uint64_t fileSize) noexcept;

// The size of the program's icon image with an identifier, or nothing when the
// program holds no image of that identifier.
using IconImageSize = std::function<std::optional<std::uint32_t>(std::uint16_t id)>;

// True when a program's icon group fits its resource and the program: a header
// of type 1, at least one entry, every entry inside the group, and every entry's
// image present with a size above 0 that the image holds.
bool IconGroupFits(std::span<const std::byte> group, const IconImageSize& imageSize);

} // namespace kelvory
