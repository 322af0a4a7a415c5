#include "LaunchRequest.h"

namespace kelvory {

namespace {

struct FixedActionRow {
    std::u16string_view file;
    std::optional<std::u16string_view> parameters;
};

// The shell resolves these bare names by its own search rules. "wpeutil" has no
// extension on purpose: the shell finds wpeutil.exe, or nothing outside WinPE.
constexpr FixedActionRow kFixedActions[] = {
    {u"cmd.exe", std::nullopt},
    {u"taskmgr.exe", std::nullopt},
    {u"wpeutil", u"shutdown"},
    {u"wpeutil", u"reboot"},
};

} // namespace

LaunchRequest FixedActionRequest(FixedAction action, WindowId owner)
{
    const FixedActionRow& row = kFixedActions[static_cast<int>(action)];
    LaunchRequest request;
    request.owner = owner;
    request.file = row.file;
    if (row.parameters) {
        request.parameters = std::u16string(*row.parameters);
    }
    return request;
}

LaunchRequest ProgramRequest(std::u16string_view file, WindowId owner)
{
    LaunchRequest request;
    request.owner = owner;
    request.file = file;
    return request;
}

} // namespace kelvory
