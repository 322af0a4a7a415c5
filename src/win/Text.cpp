#include "Text.h"

#include <windows.h>

namespace kelvory {

std::u16string Utf16FromUtf8(std::string_view text)
{
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::u16string utf16(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, WideBuffer(utf16), length);
    return utf16;
}

} // namespace kelvory
