#include "FileExistence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvory {
namespace {

// One row per path through the decision: the platform's answers, whether the
// file counts as present, and which queries were asked, in order (A attributes,
// F find by name, O open the target).
struct ExistenceCase {
    const char* name;
    AttributesAnswer attributes;
    ListedEntry listed;
    OpenAnswer open;
    bool present;
    std::string asked;
};

constexpr std::uint32_t kNormal = 0x80;
constexpr std::uint32_t kArchiveReadOnly = 0x21;
constexpr std::uint32_t kAccessDenied = 5;

AttributesAnswer Attributes(std::uint32_t attributes)
{
    return {true, attributes, 0};
}

AttributesAnswer Failure(std::uint32_t error)
{
    return {false, 0, error};
}

OpenAnswer Opened()
{
    return {true, 0};
}

OpenAnswer OpenFailure(std::uint32_t error)
{
    return {false, error};
}

TEST(DecideFileExists, FollowsThePlatformAnswersInOrder)
{
    const ListedEntry none = ListedEntry::None;
    const ListedEntry file = ListedEntry::File;
    const ListedEntry folder = ListedEntry::Directory;
    const OpenAnswer unused = OpenFailure(0);
    const std::uint32_t reparse = kAttributeReparsePoint;
    const std::uint32_t directory = kAttributeDirectory;

    const std::vector<ExistenceCase> cases = {
        {"plain file", Attributes(kNormal), none, unused, true, "A"},
        {"file with other attributes", Attributes(kArchiveReadOnly), none, unused, true, "A"},
        {"directory", Attributes(directory), file, unused, false, "A"},
        {"file not found", Failure(kErrorFileNotFound), file, unused, false, "A"},
        {"path not found", Failure(kErrorPathNotFound), file, unused, false, "A"},
        {"invalid name", Failure(kErrorInvalidName), file, unused, false, "A"},
        {"other error, listed as file", Failure(kAccessDenied), file, unused, true, "AF"},
        {"sharing violation, listed as file", Failure(kErrorSharingViolation), file, unused, true, "AF"},
        {"other error, nothing listed", Failure(kAccessDenied), none, unused, false, "AF"},
        {"other error, listed as directory", Failure(kAccessDenied), folder, unused, false, "AF"},
        {"link to a directory", Attributes(reparse | directory), file, Opened(), false, "A"},
        {"link to a file that opens", Attributes(reparse | 0x20), none, Opened(), true, "AO"},
        {"link to a file in use", Attributes(reparse), none, OpenFailure(kErrorSharingViolation), true, "AO"},
        {"link to a file denied", Attributes(reparse), file, OpenFailure(kAccessDenied), false, "AO"},
        {"dangling link", Attributes(reparse), file, OpenFailure(kErrorFileNotFound), false, "AO"},
    };

    for (const ExistenceCase& c : cases) {
        std::string asked;
        const FileQueries queries{
            [&] {
                asked += 'A';
                return c.attributes;
            },
            [&] {
                asked += 'F';
                return c.listed;
            },
            [&] {
                asked += 'O';
                return c.open;
            },
        };
        EXPECT_EQ(DecideFileExists(queries), c.present) << c.name;
        EXPECT_EQ(asked, c.asked) << c.name;
    }
}

} // namespace
} // namespace kelvory
