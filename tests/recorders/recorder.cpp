// Stands in for a program the launcher starts (wpeutil.exe, a configured
// program): appends one line to launches.log beside itself and exits.
// The line is: <its own file name> TAB <its whole command line> TAB <the show
// command it was started with>, in UTF-8.
#include "ModulePath.h"
#include "Text.h"
#include "UniqueHandle.h"

#include <windows.h>

#include <string>

int wmain()
{
    const std::wstring self = kelvory::WideText(kelvory::ModuleFileName());
    const std::wstring folder = self.substr(0, self.rfind(L'\\') + 1);
    const std::wstring name = self.substr(folder.size());

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    const std::wstring line = name + L"\t" + GetCommandLineW() + L"\t" + std::to_wstring(show) + L"\r\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), size, nullptr, nullptr);

    // Appending with one write keeps lines whole when two copies finish together.
    const kelvory::UniqueFileHandle log(CreateFileW((folder + L"launches.log").c_str(), FILE_APPEND_DATA,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) {
        return 1;
    }
    DWORD written = 0;
    WriteFile(log.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    return 0;
}
