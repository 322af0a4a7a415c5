#include "Launch.h"

#include "Text.h"

#include <shellapi.h>

namespace kelvory {

void Launch(const LaunchRequest& request)
{
    ShellExecuteW(ToWindowHandle(request.owner), WideText(request.verb), WideText(request.file),
                  request.parameters ? WideText(*request.parameters) : nullptr,
                  request.directory ? WideText(*request.directory) : nullptr, request.showMode);
}

} // namespace kelvory
