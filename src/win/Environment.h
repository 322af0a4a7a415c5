#pragma once
// Environment variables and the folder placeholders of configured paths.
#include <string>
#include <string_view>

namespace kelvory {

// The value of the environment variable name (matched without regard to case);
// empty when it is not set or cannot be read.
std::u16string GetEnvVar(std::u16string_view name) noexcept;

// path with %programfiles%, %systemroot% and %systemdrive% replaced, in any case,
// by the values of those variables in this process's environment.
std::u16string ExpandPathPlaceholders(std::u16string_view path);

} // namespace kelvory
