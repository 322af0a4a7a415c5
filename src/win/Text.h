#pragma once
// The core keeps its text as UTF-16 in std::u16string. On Windows wchar_t is the
// same 16-bit code unit, so a W function is handed the core's own characters,
// viewed as wchar_t: text crosses into the system without a copy.
#include <string>
#include <string_view>

namespace kelvory {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is UTF-16");

// Zero-terminated text as a W function's string argument.
inline const wchar_t* WideText(const std::u16string& text) noexcept
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline const wchar_t* WideText(const char16_t* text) noexcept
{
    return reinterpret_cast<const wchar_t*>(text);
}

// The characters of text as a W function's output buffer.
inline wchar_t* WideBuffer(std::u16string& text) noexcept
{
    return reinterpret_cast<wchar_t*>(text.data());
}

// UTF-8 (the text of std::exception messages) as UTF-16.
std::u16string Utf16FromUtf8(std::string_view text);

} // namespace kelvory
