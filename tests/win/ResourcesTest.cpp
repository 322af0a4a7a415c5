// The resources of kelvory.exe itself, read through the window system's own
// resource functions: manifest, version, and the icons' image sets.
#include "IconImageSets.h"
#include "TestSupport.h"
#include "UniqueHandle.h"
#include "resource.h"
#include "version.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace kelvory {

void PrintTo(const IconImage& image, std::ostream* out)
{
    *out << image.size << " px, " << image.bitsPerPixel << " bits" << (image.png ? ", PNG" : "");
}

namespace {

using UniqueModule = UniqueHandle<HMODULE, &FreeLibrary>;

std::wstring KelvoryExePath()
{
    return test::OwnFolder() + L"kelvory.exe";
}

class KelvoryResources : public testing::Test {
protected:
    UniqueModule exe{LoadLibraryExW(KelvoryExePath().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)};

    std::string Bytes(LPCWSTR name, LPCWSTR type) const
    {
        HRSRC resource = FindResourceW(exe.get(), name, type);
        if (!resource) {
            return {};
        }
        const auto* data = static_cast<const char*>(LockResource(LoadResource(exe.get(), resource)));
        return std::string(data, SizeofResource(exe.get(), resource));
    }
};

TEST_F(KelvoryResources, TheManifestAsksForCommonControls6AsInvokerAndNoDensityAwareness)
{
    ASSERT_TRUE(exe);
    const std::string manifest = Bytes(MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"), std::string::npos);
    EXPECT_NE(manifest.find(R"(level="asInvoker" uiAccess="false")"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
    // The program's own identity carries the project's version.
    const std::string version = std::to_string(KELVORY_VERSION_MAJOR) + "." + std::to_string(KELVORY_VERSION_MINOR) +
                                "." + std::to_string(KELVORY_VERSION_PATCH) + "." +
                                std::to_string(KELVORY_VERSION_TWEAK);
    EXPECT_NE(manifest.find(R"(name="Kelvory.Launcher" version=")" + version + "\""), std::string::npos);
    // The program's own identity, which ends its element where the common
    // controls' goes on, names the machine the program is built for.
#if defined(__aarch64__)
    EXPECT_NE(manifest.find(R"(processorArchitecture="arm64"/>)"), std::string::npos);
#else
    EXPECT_NE(manifest.find(R"(processorArchitecture="amd64"/>)"), std::string::npos);
#endif
}

TEST_F(KelvoryResources, FileAndProductVersionAreTheProjectVersion)
{
    const std::wstring path = KelvoryExePath();
    DWORD ignored = 0;
    std::string block(GetFileVersionInfoSizeW(path.c_str(), &ignored), '\0');
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &size));
    const DWORD high = MAKELONG(KELVORY_VERSION_MINOR, KELVORY_VERSION_MAJOR);
    const DWORD low = MAKELONG(KELVORY_VERSION_TWEAK, KELVORY_VERSION_PATCH);
    EXPECT_EQ(info->dwFileVersionMS, high);
    EXPECT_EQ(info->dwFileVersionLS, low);
    EXPECT_EQ(info->dwProductVersionMS, high);
    EXPECT_EQ(info->dwProductVersionLS, low);
}

TEST_F(KelvoryResources, EachIconHoldsExactlyItsImageSet)
{
    for (const IconImageSet& set : kIconImageSets) {
        SCOPED_TRACE(set.fileName);
        const std::string group = Bytes(MAKEINTRESOURCEW(set.resourceId), RT_GROUP_ICON);
        ASSERT_GE(group.size(), 6u);
        const auto* bytes = reinterpret_cast<const unsigned char*>(group.data());
        const int count = bytes[4] | bytes[5] << 8;
        ASSERT_EQ(group.size(), 6u + 14 * count);
        std::vector<IconImage> found;
        for (int i = 0; i < count; ++i) {
            const unsigned char* entry = bytes + 6 + i * 14;
            const int id = entry[12] | entry[13] << 8;
            const std::string image = Bytes(MAKEINTRESOURCEW(id), RT_ICON);
            found.push_back({entry[0] ? entry[0] : 256, entry[6] | entry[7] << 8, image.compare(0, 4, "\x89PNG") == 0});
        }
        EXPECT_EQ(found, ImagesInFileOrder(set));
    }
}

} // namespace
} // namespace kelvory
