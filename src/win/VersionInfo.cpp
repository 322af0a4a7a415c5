#include "VersionInfo.h"

#include "SystemLibrary.h"
#include "Text.h"
#include "VersionBlock.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace kelvory {

namespace {

struct VersionFunctions {
    decltype(&GetFileVersionInfoSizeW) infoSize;
    decltype(&GetFileVersionInfoW) info;
    decltype(&VerQueryValueW) query;
};

// Descriptions are read on worker threads, so the functions are looked up once,
// by whichever read comes first. A system without version.dll simply has no
// descriptions.
INIT_ONCE g_lookedUp = INIT_ONCE_STATIC_INIT;
VersionFunctions g_functions{};

BOOL CALLBACK LookUpFunctions(PINIT_ONCE, PVOID, PVOID*) noexcept
{
    LazyExport<decltype(&GetFileVersionInfoSizeW)> infoSize{L"version.dll", "GetFileVersionInfoSizeW"};
    LazyExport<decltype(&GetFileVersionInfoW)> info{L"version.dll", "GetFileVersionInfoW"};
    LazyExport<decltype(&VerQueryValueW)> query{L"version.dll", "VerQueryValueW"};
    g_functions = {infoSize.Get(), info.Get(), query.Get()};
    return TRUE;
}

// Four lower-case hexadecimal digits, as the string tables are named.
std::u16string Hex4(WORD value)
{
    constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string digits(4, u'0');
    for (int i = 3; i >= 0; --i, value >>= 4) {
        digits[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    }
    return digits;
}

struct Translation {
    WORD language;
    WORD codePage;
};

// A value the query found, or nothing when it lies even partly outside the
// block: a damaged resource may claim lengths it does not have.
const std::byte* QueryInside(decltype(&VerQueryValueW) query, std::vector<std::byte>& block, const wchar_t* key,
                             std::size_t unitSize, UINT& length)
{
    void* value = nullptr;
    length = 0;
    if (!query(block.data(), key, &value, &length) || !value || length == 0) {
        return nullptr;
    }
    const auto* begin = static_cast<const std::byte*>(value);
    const std::byte* end = block.data() + block.size();
    if (begin < block.data() || begin >= end || static_cast<std::size_t>(end - begin) / unitSize < length) {
        return nullptr;
    }
    return begin;
}

} // namespace

std::u16string FileDescription(const std::u16string& path) noexcept
{
    try {
        InitOnceExecuteOnce(&g_lookedUp, LookUpFunctions, nullptr, nullptr);
        const auto [infoSize, info, query] = g_functions;
        if (!infoSize || !info || !query) {
            return {};
        }
        // Only a file has a version resource: a folder, a missing file or a
        // vanished share gets no further than its attributes.
        const DWORD attributes = GetFileAttributesW(WideText(path));
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return {};
        }
        DWORD ignored = 0;
        const DWORD size = infoSize(WideText(path), &ignored);
        if (size == 0) {
            return {};
        }
        std::vector<std::byte> block(size);
        if (!info(WideText(path), 0, size, block.data()) || !IsWideVersionBlock(block)) {
            return {};
        }

        // The translation table is a list of language and code-page pairs; its
        // length is in bytes.
        UINT length = 0;
        const std::byte* table = QueryInside(query, block, L"\\VarFileInfo\\Translation", 1, length);
        if (!table || length < sizeof(Translation)) {
            return {};
        }
        Translation first;
        std::memcpy(&first, table, sizeof(first));
        const std::u16string key =
            u"\\StringFileInfo\\" + Hex4(first.language) + Hex4(first.codePage) + u"\\FileDescription";

        // A string's length is in characters, its terminating zero included
        // when it has one.
        const std::byte* text = QueryInside(query, block, WideText(key), sizeof(char16_t), length);
        if (!text) {
            return {};
        }
        std::u16string description(length, u'\0');
        std::memcpy(description.data(), text, length * sizeof(char16_t));
        description.erase(std::find(description.begin(), description.end(), u'\0'), description.end());
        return description;
    } catch (...) {
        return {};
    }
}

} // namespace kelvory
