#pragma once
// The longest path the system's wide functions take: "a maximum total path
// length of 32,767 characters", in Microsoft's words, which also call the
// figure approximate. A buffer of one more holds such a path and its zero.
#include <cstddef>

namespace kelvory {

inline constexpr std::size_t kLongestPath = 32767;

} // namespace kelvory
