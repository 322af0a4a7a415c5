#pragma once
// The root of a version resource as GetFileVersionInfoW copies it: whether it
// is in the 32-bit layout, the only one Kelvory hands to VerQueryValueW.
//
// A block in the old 16-bit layout (a length, a value length and an ANSI key,
// with no type word) is converted by the platform's query into the buffer
// behind the block, and a long string overruns the room that
// GetFileVersionInfoSizeW asked for: a check after the query comes too late.
// So the block is recognised before any query, from its root header alone.
#include <cstddef>
#include <span>

namespace kelvory {

// True when block begins with a 32-bit root: its length no larger than the
// block and no smaller than its header and key; its type word 0 (binary) or 1
// (text); its key "VS_VERSION_INFO" in UTF-16 with its terminating zero; and
// its value, after the key's padding to 32 bits, inside its length. A 16-bit
// root has the key's first ANSI characters where the type word would be.
bool IsWideVersionBlock(std::span<const std::byte> block) noexcept;

} // namespace kelvory
