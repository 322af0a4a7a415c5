#include "ConfigFile.h"

#include "ModulePath.h"
#include "Text.h"

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

std::wstring ConfigFilePath()
{
    return ToWide(ConfigFilePathBeside(FromWide(ModuleFileName())));
}

bool ConfigFileExists()
{
    return ConfigFileExistsAt(ConfigFilePath());
}

bool ConfigFileExistsAt(const std::wstring& path)
{
    const FileQueries queries{
        [&] {
            const DWORD attributes = GetFileAttributesW(path.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES) {
                return AttributesAnswer{false, 0, GetLastError()};
            }
            return AttributesAnswer{true, attributes, 0};
        },
        [&] {
            WIN32_FIND_DATAW entry{};
            const HANDLE search = FindFirstFileW(path.c_str(), &entry);
            if (search == INVALID_HANDLE_VALUE) {
                return ListedEntry::None;
            }
            FindClose(search);
            return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ListedEntry::Directory
                                                                             : ListedEntry::File;
        },
        [&] {
            const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                return OpenAnswer{false, GetLastError()};
            }
            CloseHandle(file);
            return OpenAnswer{true, 0};
        },
    };
    return DecideFileExists(queries);
}

ConfigReader::ConfigReader(std::wstring path) : m_path(std::move(path)) {}

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
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_path.c_str());
    }
}

ConfigReader OpenConfig()
{
    return ConfigReader(ConfigFilePath());
}

std::wstring ReadEntry(const ConfigReader& reader, std::wstring_view section)
{
    const std::wstring sectionName(section);
    const std::wstring key = ToWide(kEntryKey);
    // The string's own terminator is the last of the kEntryBufferSize units the
    // reader may fill.
    std::wstring value(kEntryBufferSize - 1, L'\0');
    const DWORD length = GetPrivateProfileStringW(sectionName.c_str(), key.c_str(), L"", value.data(),
                                                  kEntryBufferSize, reader.Path().c_str());
    value.resize(std::min<size_t>(length, value.size()));
    return value;
}

void ForEachConfiguredEntry(const std::function<void(int number, const std::wstring& value)>& onEntry)
{
    ForEachConfiguredEntry(ConfigFilePath(), onEntry);
}

void ForEachConfiguredEntry(const std::wstring& configPath,
                            const std::function<void(int number, const std::wstring& value)>& onEntry)
{
    if (!ConfigFileExistsAt(configPath)) {
        return;
    }
    const ConfigReader reader(configPath);
    for (int number = 1; number <= kEntryCount; ++number) {
        const std::wstring value = ReadEntry(reader, ToWide(ConfigSectionName(number)));
        if (!value.empty()) {
            onEntry(number, value);
        }
    }
}

} // namespace kelvory
