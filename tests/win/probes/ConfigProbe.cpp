// Reports what Kelvory finds of its configuration when started from wherever a
// test has put this program: the path of kelvory.ini, whether it counts as
// present, and the entries read at start-up. The report goes, as UTF-16 lines, to
// the file named by the only argument.
#include "ConfigFile.h"
#include "Text.h"
#include "UniqueHandle.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count != 2) {
        return 2;
    }

    const std::u16string configPath = kelvory::ConfigFilePath();
    std::u16string report = configPath + u"\n";
    report += kelvory::ConfigFileExistsAt(configPath) ? u"present\n" : u"absent\n";
    kelvory::ForEachConfiguredEntry(configPath, [&](int number, const std::u16string& value) {
        const std::string digits = std::to_string(number);
        report.append(digits.begin(), digits.end());
        report += u"=" + value + u"\n";
    });

    const kelvory::UniqueFileHandle file(
        CreateFileW(arguments[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    LocalFree(arguments);
    if (!file) {
        return 3;
    }
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(report.size() * sizeof(char16_t));
    const BOOL wrote = WriteFile(file.get(), report.data(), size, &written, nullptr);
    return wrote && written == size ? 0 : 4;
}
