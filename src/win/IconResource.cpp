#include "IconResource.h"

#include "IconChoice.h"

#include <cstring>
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

} // namespace

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
