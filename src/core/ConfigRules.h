#pragma once
// Where kelvory.ini lives and how its entries are named.
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

} // namespace kelvory
