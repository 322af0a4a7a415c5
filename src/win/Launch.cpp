#include "Launch.h"

#include "Shell.h"
#include "Text.h"

namespace kelvory {

static_assert(kShowDefault == SW_SHOWDEFAULT);

void Launch(const LaunchRequest& request)
{
    ShellExecuteFile(ToWindowHandle(request.owner), WideText(request.verb), WideText(request.file),
                     request.parameters ? WideText(*request.parameters) : nullptr,
                     request.directory ? WideText(*request.directory) : nullptr, request.showMode);
}

} // namespace kelvory
