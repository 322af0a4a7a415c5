#include "LaunchRequest.h"

namespace kelvory {

LaunchRequest FixedRequest(const FixedStart& start, WindowId owner)
{
    LaunchRequest request;
    request.owner = owner;
    request.file = start.file;
    if (start.parameters) {
        request.parameters = std::u16string(*start.parameters);
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
