// Reports what Kelvory finds of its configuration when started from wherever a
// test has put this program: the path of kelvory.ini, whether it counts as
// present, and the entries read at start-up. The report goes, as UTF-16 lines, to
// the file named by the only argument.
#include "ConfigFile.h"

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

    std::wstring report = kelvory::ConfigFilePath() + L"\n";
    report += kelvory::ConfigFileExists() ? L"present\n" : L"absent\n";
    kelvory::ForEachConfiguredEntry([&](int number, const std::wstring& value) {
        report += std::to_wstring(number) + L"=" + value + L"\n";
    });

    const HANDLE file =
        CreateFileW(arguments[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    LocalFree(arguments);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(report.size() * sizeof(wchar_t));
    const BOOL wrote = WriteFile(file, report.data(), size, &written, nullptr);
    CloseHandle(file);
    return wrote && written == size ? 0 : 4;
}
