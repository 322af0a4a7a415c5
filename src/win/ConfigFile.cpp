#include "ConfigFile.h"

#include "FileExistence.h"
#include "ModulePath.h"
#include "Text.h"
#include "UniqueHandle.h"

#include <windows.h>

#include <algorithm>

namespace kelvory {

static_assert(kAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(kAttributeReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT);
static_assert(kErrorFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(kErrorPathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(kErrorSharingViolation == ERROR_SHARING_VIOLATION);
static_assert(kErrorInvalidName == ERROR_INVALID_NAME);

std::u16string ConfigFilePath()
{
    return ConfigFilePathBeside(ModuleFileName());
}

bool ConfigFileExistsAt(const std::u16string& path)
{
    const FileQueries queries{
        [&] {
            const DWORD attributes = GetFileAttributesW(WideText(path));
            if (attributes == INVALID_FILE_ATTRIBUTES) {
                return AttributesAnswer{false, 0, GetLastError()};
            }
            return AttributesAnswer{true, attributes, 0};
        },
        [&] {
            WIN32_FIND_DATAW entry{};
            const UniqueFindHandle search(FindFirstFileW(WideText(path), &entry));
            if (!search) {
                return ListedEntry::None;
            }
            return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ListedEntry::Directory
                                                                             : ListedEntry::File;
        },
        [&] {
            const UniqueFileHandle file(CreateFileW(WideText(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file) {
                return OpenAnswer{false, GetLastError()};
            }
            return OpenAnswer{true, 0};
        },
    };
    return DecideFileExists(queries);
}

namespace {

// One use of the configuration file. It holds only the file name: binding one
// touches nothing, and releasing it asks the system to drop any copy of the
// file it keeps cached, so the next read sees the file as it is then.
class ConfigReader {
public:
    explicit ConfigReader(const std::u16string& path) : m_path(path) {}
    ~ConfigReader()
    {
        // With all three names null this writes nothing; it only flushes and
        // drops the system's cached copy of the file. Whether it did is of no
        // interest.
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, WideText(m_path));
    }
    ConfigReader(const ConfigReader&) = delete;
    ConfigReader& operator=(const ConfigReader&) = delete;

    std::u16string Read(const std::u16string& section) const
    {
        // The string's own terminator is the last of the kEntryBufferSize units
        // the reader may fill.
        std::u16string value(kEntryBufferSize - 1, u'\0');
        const DWORD length = GetPrivateProfileStringW(WideText(section), WideText(kEntryKey), L"",
                                                      WideBuffer(value), kEntryBufferSize, WideText(m_path));
        value.resize(std::min<size_t>(length, value.size()));
        return value;
    }

private:
    const std::u16string& m_path;
};

} // namespace

void ForEachConfiguredEntry(const std::u16string& configPath, const EntryFunction& onEntry)
{
    if (!ConfigFileExistsAt(configPath)) {
        return;
    }
    const ConfigReader reader(configPath);
    for (int number = 1; number <= kEntryCount; ++number) {
        const std::u16string value = reader.Read(ConfigSectionName(number));
        if (!value.empty()) {
            onEntry(number, value);
        }
    }
}

std::u16string ReadConfiguredEntry(const std::u16string& configPath, const std::u16string& section)
{
    if (!ConfigFileExistsAt(configPath)) {
        return {};
    }
    const ConfigReader reader(configPath);
    return reader.Read(section);
}

} // namespace kelvory
