#include "ConfigRules.h"

namespace kelvory {

std::u16string ConfigFilePathBeside(std::u16string_view executablePath)
{
    // Only Windows delimiters count: the module path always comes from the
    // system with backslashes, and a drive-relative "X:name" has its colon.
    const size_t delimiter = executablePath.find_last_of(u"\\:");
    std::u16string path;
    if (delimiter != std::u16string_view::npos) {
        path.assign(executablePath.substr(0, delimiter + 1));
    }
    path += kConfigFileName;
    return path;
}

std::u16string ConfigSectionName(int number)
{
    std::u16string name(kSectionPrefix);
    const std::string digits = std::to_string(number);
    name.append(digits.begin(), digits.end());
    return name;
}

} // namespace kelvory
