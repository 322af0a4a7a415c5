#include "Launch.h"

#include "Shell.h"
#include "Text.h"

namespace kelvory {

void Launch(const LaunchRequest& request)
{
    const std::wstring verb = ToWide(request.verb);
    const std::wstring file = ToWide(request.file);
    const std::wstring parameters = request.parameters ? ToWide(*request.parameters) : std::wstring();
    const std::wstring directory = request.directory ? ToWide(*request.directory) : std::wstring();
    ShellExecuteFile(ToWindowHandle(request.owner), verb.c_str(), file.c_str(),
                     request.parameters ? parameters.c_str() : nullptr,
                     request.directory ? directory.c_str() : nullptr, request.showMode);
}

} // namespace kelvory
