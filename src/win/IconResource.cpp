#include "IconResource.h"

#include "IconChoice.h"
#include "IconDirectory.h"
#include "Shell.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kelvory {

namespace {

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

ResourceBytes FindResourceBytes(HINSTANCE instance, LPCWSTR name, LPCWSTR type)
{
    HRSRC resource = FindResourceW(instance, name, type);
    if (!resource) {
        return {};
    }
    HGLOBAL loaded = LoadResource(instance, resource);
    return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(instance, resource)};
}

bool IsPng(const ResourceBytes& image)
{
    static constexpr BYTE kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return image.size >= sizeof(kSignature) && std::memcmp(image.data, kSignature, sizeof(kSignature)) == 0;
}

int ScreenBitsPerPixel()
{
    const UniqueScreenDC screen(GetDC(nullptr));
    return GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES);
}

// A program mapped as a data file, for its resources alone: nothing of it runs.
using UniqueDataFile = UniqueHandle<HMODULE, &FreeLibrary>;

// A resource's name as EnumResourceNamesW hands it over: a number, or text
// that lives only as long as the callback.
using ResourceName = std::variant<WORD, std::wstring>;

LPCWSTR NameArgument(const ResourceName& name)
{
    if (const WORD* id = std::get_if<WORD>(&name)) {
        return MAKEINTRESOURCEW(*id);
    }
    return std::get<std::wstring>(name).c_str();
}

std::optional<ResourceName> FirstResourceName(HMODULE module, LPCWSTR type)
{
    std::optional<ResourceName> first;
    EnumResourceNamesW(
        module, type,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
            auto& first = *reinterpret_cast<std::optional<ResourceName>*>(found);
            first = IS_INTRESOURCE(name) ? ResourceName(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)))
                                         : ResourceName(std::wstring(name));
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&first));
    return first;
}

// The resource in its first language: the one the extraction takes, where
// FindResourceW would choose by the user's language. Empty when there is none,
// or when its size, the program's own word, runs past what is mapped of it.
ResourceBytes FirstLanguageBytes(HMODULE module, LPCWSTR type, LPCWSTR name)
{
    std::optional<WORD> language;
    EnumResourceLanguagesW(
        module, type, name,
        [](HMODULE, LPCWSTR, LPCWSTR, WORD found, LONG_PTR first) -> BOOL {
            *reinterpret_cast<std::optional<WORD>*>(first) = found;
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&language));
    if (!language) {
        return {};
    }
    HRSRC resource = FindResourceExW(module, type, name, *language);
    if (!resource) {
        return {};
    }
    const ResourceBytes bytes{static_cast<const BYTE*>(LockResource(LoadResource(module, resource))),
                              SizeofResource(module, resource)};
    return IsReadable(bytes.data, bytes.size) ? bytes : ResourceBytes{};
}

bool ProgramIconGroupFits(const std::wstring& file)
{
    const UniqueDataFile program(
        LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!program) {
        // An "MZ" file that the system cannot map as a program (a 16-bit or DOS
        // one, or a damaged one): whatever the extraction would read of it
        // cannot be checked.
        return false;
    }
    const std::optional<ResourceName> name = FirstResourceName(program.get(), RT_GROUP_ICON);
    if (!name) {
        return true; // no icon group: the extraction finds no icon
    }
    const ResourceBytes group = FirstLanguageBytes(program.get(), RT_GROUP_ICON, NameArgument(*name));
    return IconGroupFits(
        std::as_bytes(std::span(group.data, group.size)), [&](std::uint16_t id) -> std::optional<std::uint32_t> {
            const ResourceBytes image = FirstLanguageBytes(program.get(), RT_ICON, MAKEINTRESOURCEW(id));
            return image.data ? std::optional<std::uint32_t>(image.size) : std::nullopt;
        });
}

// Reads up to bytes.size() bytes from where the file stands; the count read.
std::size_t ReadBytes(HANDLE file, std::span<std::byte> bytes)
{
    DWORD read = 0;
    return ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ? read : 0;
}

// The file that the extraction reads: it looks the path up as SearchPathW
// does. Empty when there is none.
std::wstring SearchedPath(const wchar_t* path)
{
    const DWORD needed = SearchPathW(nullptr, path, nullptr, 0, nullptr, nullptr);
    if (needed == 0) {
        return {};
    }
    std::wstring found(needed, L'\0');
    const DWORD length = SearchPathW(nullptr, path, nullptr, needed, found.data(), nullptr);
    if (length == 0 || length >= needed) {
        return {};
    }
    found.resize(length);
    return found;
}

} // namespace

bool IsReadable(const void* data, std::size_t size) noexcept
{
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const auto begin = static_cast<const std::byte*>(data);
    std::size_t readable = 0;
    while (begin && readable < size) {
        MEMORY_BASIC_INFORMATION region;
        if (!VirtualQuery(begin + readable, &region, sizeof(region)) || region.State != MEM_COMMIT ||
            !(region.Protect & kReadable) || (region.Protect & PAGE_GUARD)) {
            return false;
        }
        readable =
            static_cast<std::size_t>(static_cast<const std::byte*>(region.BaseAddress) + region.RegionSize - begin);
    }
    return begin != nullptr;
}

bool IconDirectoryFits(const wchar_t* path)
{
    const std::wstring file = SearchedPath(path);
    if (file.empty()) {
        return true; // the extraction finds no file either
    }
    const UniqueFileHandle handle(CreateFileW(file.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER fileSize;
    if (!handle || !GetFileSizeEx(handle.get(), &fileSize)) {
        return true; // nor can it open the file
    }
    std::vector<std::byte> start(kIconDirectoryHeaderSize);
    start.resize(ReadBytes(handle.get(), start));
    switch (IconSourceOf(start)) {
    case IconSource::Program:
        return ProgramIconGroupFits(file);
    case IconSource::IconFile: {
        const auto size = static_cast<std::uint64_t>(fileSize.QuadPart);
        const std::size_t length = IconFileDirectoryLength(start);
        if (length > start.size() && length <= size) {
            const std::size_t header = start.size();
            start.resize(length);
            start.resize(header + ReadBytes(handle.get(), std::span(start).subspan(header)));
        }
        return IconFileDirectoryFits(start, size);
    }
    case IconSource::Other:
        break;
    }
    return true;
}

UniqueIcon ExtractProgramIcon(HINSTANCE instance, const wchar_t* path)
{
    if (!IconDirectoryFits(path)) {
        return {};
    }
    return UniqueIcon(ExtractFileIcon(instance, path, 0));
}

UniqueIcon LoadIconResource(HINSTANCE instance, int resourceId)
{
    const ResourceBytes group = FindResourceBytes(instance, MAKEINTRESOURCEW(resourceId), RT_GROUP_ICON);
    if (group.size < sizeof(GroupIconHeader)) {
        return {};
    }
    GroupIconHeader header;
    std::memcpy(&header, group.data, sizeof(header));
    if (group.size < sizeof(header) + header.count * sizeof(GroupIconEntry)) {
        return {};
    }

    std::vector<GroupIconEntry> directory(header.count);
    std::memcpy(directory.data(), group.data + sizeof(header), header.count * sizeof(GroupIconEntry));

    std::vector<ResourceBytes> images;
    std::vector<IconEntry> entries;
    for (const GroupIconEntry& entry : directory) {
        const ResourceBytes image = FindResourceBytes(instance, MAKEINTRESOURCEW(entry.id), RT_ICON);
        images.push_back(image);
        // A stored width or height of 0 means 256.
        entries.push_back({entry.width ? entry.width : 256, entry.height ? entry.height : 256, entry.bitCount,
                           IsPng(image)});
    }

    const auto chosen = ChooseIconEntry(entries, GetSystemMetrics(SM_CXICON), ScreenBitsPerPixel());
    if (!chosen || !images[*chosen].data) {
        return {};
    }
    const ResourceBytes& image = images[*chosen];
    const IconEntry& entry = entries[*chosen];
    return UniqueIcon(CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE, 0x00030000,
                                               entry.width, entry.height, LR_DEFAULTCOLOR));
}

} // namespace kelvory
