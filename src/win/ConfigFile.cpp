#include "ConfigFile.h"

#include "ModulePath.h"
#include "Text.h"
#include "UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <utility>

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

bool ConfigFileExists()
{
    return ConfigFileExistsAt(ConfigFilePath());
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

ConfigReader::ConfigReader(std::u16string path) : m_path(std::move(path)) {}

ConfigReader::~ConfigReader()
{
    Release();
}

ConfigReader::ConfigReader(ConfigReader&& other) noexcept
    : m_path(std::move(other.m_path)), m_bound(std::exchange(other.m_bound, false))
{
}

ConfigReader& ConfigReader::operator=(ConfigReader&& other) noexcept
{
    if (this != &other) {
        Release();
        m_path = std::move(other.m_path);
        m_bound = std::exchange(other.m_bound, false);
    }
    return *this;
}

void ConfigReader::Release() noexcept
{
    // With all three names null this writes nothing; it only flushes and drops
    // the system's cached copy of the file. Whether it did is of no interest.
    if (std::exchange(m_bound, false)) {
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, WideText(m_path));
    }
}

ConfigReader OpenConfig()
{
    return ConfigReader(ConfigFilePath());
}

std::u16string ReadEntry(const ConfigReader& reader, const std::u16string& section)
{
    // The string's own terminator is the last of the kEntryBufferSize units the
    // reader may fill.
    std::u16string value(kEntryBufferSize - 1, u'\0');
    const DWORD length = GetPrivateProfileStringW(WideText(section), WideText(kEntryKey), L"", WideBuffer(value),
                                                  kEntryBufferSize, WideText(reader.Path()));
    value.resize(std::min<size_t>(length, value.size()));
    return value;
}

void ForEachConfiguredEntry(const std::function<void(int number, const std::u16string& value)>& onEntry)
{
    ForEachConfiguredEntry(ConfigFilePath(), onEntry);
}

void ForEachConfiguredEntry(const std::u16string& configPath,
                            const std::function<void(int number, const std::u16string& value)>& onEntry)
{
    if (!ConfigFileExistsAt(configPath)) {
        return;
    }
    const ConfigReader reader(configPath);
    for (int number = 1; number <= kEntryCount; ++number) {
        const std::u16string value = ReadEntry(reader, ConfigSectionName(number));
        if (!value.empty()) {
            onEntry(number, value);
        }
    }
}

} // namespace kelvory
