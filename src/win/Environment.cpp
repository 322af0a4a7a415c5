#include "Environment.h"

#include "Placeholders.h"
#include "Text.h"

#include <windows.h>

namespace kelvory {

std::wstring GetEnvVar(std::wstring_view name) noexcept
{
    try {
        const std::wstring terminatedName(name);
        // The first call tells the size in UTF-16 units, its terminating zero
        // included; the string's own terminator gives the second call that room.
        const DWORD size = GetEnvironmentVariableW(terminatedName.c_str(), nullptr, 0);
        if (size == 0) {
            return {};
        }
        std::wstring value(size - 1, L'\0');
        GetEnvironmentVariableW(terminatedName.c_str(), value.data(), size);
        return value;
    } catch (...) {
        return {};
    }
}

namespace {

std::u16string LookUpVariable(std::u16string_view name)
{
    return FromWide(GetEnvVar(ToWide(name)));
}

std::u16string UpperCase(std::u16string_view text)
{
    std::wstring upper = ToWide(text);
    if (!upper.empty()) {
        CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    }
    return FromWide(upper);
}

} // namespace

std::wstring ExpandPathPlaceholders(std::wstring_view path)
{
    return ToWide(kelvory::ExpandPathPlaceholders(FromWide(path), LookUpVariable, UpperCase));
}

} // namespace kelvory
