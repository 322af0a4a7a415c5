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

bool DecideFileExists(const FileQueries& queries)
{
    const AttributesAnswer attributes = queries.m_readAttributes();
    if (!attributes.m_read) {
        switch (attributes.m_error) {
        case kErrorFileNotFound:
        case kErrorPathNotFound:
        case kErrorInvalidName:
            return false;
        default:
            // The entry may be there but refuse its attributes (a file held open
            // without sharing, a protected folder): listing the folder still
            // tells what it is.
            return queries.m_findEntry() == ListedEntry::File;
        }
    }

    const bool isDirectory = (attributes.m_attributes & kAttributeDirectory) != 0;
    if ((attributes.m_attributes & kAttributeReparsePoint) == 0) {
        return !isDirectory;
    }
    if (isDirectory) {
        return false;
    }
    // A link to a file exists when its target does; a target that is there but
    // opened by someone else without read sharing still counts.
    const OpenAnswer open = queries.m_openTarget();
    return open.m_opened || open.m_error == kErrorSharingViolation;
}

} // namespace kelvory
