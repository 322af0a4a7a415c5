#pragma once
// The core keeps its text as UTF-16 in std::u16string; on Windows wchar_t is the
// same 16-bit code unit, so crossing the boundary is a plain copy.
#include <string>
#include <string_view>

namespace kelvory {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is UTF-16");

inline std::wstring ToWide(std::u16string_view text)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

inline std::u16string FromWide(std::wstring_view text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// UTF-8 (the text of std::exception messages) to UTF-16.
std::wstring WideFromUtf8(std::string_view text);

} // namespace kelvory
