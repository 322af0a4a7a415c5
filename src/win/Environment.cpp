#include "Environment.h"

#include "Placeholders.h"
#include "Text.h"

#include <windows.h>

namespace kelvory {

std::u16string GetEnvVar(std::u16string_view name) noexcept
{
    try {
        const std::u16string terminatedName(name);
        // The first call tells the size in UTF-16 units, its terminating zero
        // included; the string's own terminator gives the second call that room.
        const DWORD size = GetEnvironmentVariableW(WideText(terminatedName), nullptr, 0);
        if (size == 0) {
            return {};
        }
        std::u16string value(size - 1, u'\0');
        GetEnvironmentVariableW(WideText(terminatedName), WideBuffer(value), size);
        return value;
    } catch (...) {
        return {};
    }
}

namespace {

std::u16string UpperCase(std::u16string_view text)
{
    std::u16string upper(text);
    if (!upper.empty()) {
        CharUpperBuffW(WideBuffer(upper), static_cast<DWORD>(upper.size()));
    }
    return upper;
}

} // namespace

std::u16string ExpandPathPlaceholders(std::u16string_view path)
{
    return kelvory::ExpandPathPlaceholders(path, GetEnvVar, UpperCase);
}

} // namespace kelvory
