#include "FileExistence.h"

namespace kelvory {

bool DecideFileExists(const FileQueries& queries)
{
    const AttributesAnswer attributes = queries.readAttributes();
    if (!attributes.read) {
        switch (attributes.error) {
        case kErrorFileNotFound:
        case kErrorPathNotFound:
        case kErrorInvalidName:
            return false;
        default:
            // The entry may be there but refuse its attributes (a file held open
            // without sharing, a protected folder): listing the folder still
            // tells what it is.
            return queries.findEntry() == ListedEntry::File;
        }
    }

    const bool isDirectory = (attributes.attributes & kAttributeDirectory) != 0;
    if ((attributes.attributes & kAttributeReparsePoint) == 0) {
        return !isDirectory;
    }
    if (isDirectory) {
        return false;
    }
    // A link to a file exists when its target does; a target that is there but
    // opened by someone else without read sharing still counts.
    const OpenAnswer open = queries.openTarget();
    return open.opened || open.error == kErrorSharingViolation;
}

} // namespace kelvory
