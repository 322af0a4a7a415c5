#pragma once
// Environment variables and the folder placeholders of configured paths.
#include <string>
#include <string_view>

namespace kelvory {

// The value of the environment variable name (matched without regard to case);
// empty when it is not set or cannot be read.
std::wstring GetEnvVar(std::wstring_view name) noexcept;

// path with %programfiles%, %systemroot% and %systemdrive% replaced, in any case,
// by the values of those variables in this process's environment.
std::wstring ExpandPathPlaceholders(std::wstring_view path);

} // namespace kelvory
