#pragma once
// What one start asks of the shell, in the order of ShellExecuteW's arguments.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvory {

// A window handle as the core sees it: an opaque number.
using WindowId = std::uintptr_t;

inline constexpr std::u16string_view kOpenVerb = u"Open";
inline constexpr std::int32_t kShowDefault = 10;

struct LaunchRequest {
    WindowId owner = 0;
    std::u16string verb{kOpenVerb};
    std::u16string file;
    // None is a null pointer to the shell, which is not the same as empty text.
    std::optional<std::u16string> parameters;
    std::optional<std::u16string> directory;
    std::int32_t showMode = kShowDefault;

    bool operator==(const LaunchRequest&) const = default;
};

// What a fixed button starts: a bare file name, which the shell resolves by its
// own search rules, and the parameters, if any.
struct FixedStart {
    std::u16string_view file;
    std::optional<std::u16string_view> parameters;
};

LaunchRequest FixedRequest(const FixedStart& start, WindowId owner);

// A start of a configured program: the path as expanded, nothing else.
LaunchRequest ProgramRequest(std::u16string_view file, WindowId owner);

} // namespace kelvory
