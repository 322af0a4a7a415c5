// Reports the main window as it is laid out on this screen: the screen's
// density, the form's font height and the measured height of "0" in it, the
// client size, and every button's place in the group box, one line each. The
// report goes, as ASCII lines, to the file named by the only argument. With
// a kelvory.ini beside it, the configured buttons are in the report too.
#include "Application.h"
#include "UniqueHandle.h"
#include "Unit1.h"

#include <shellapi.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Line(std::string& report, const char* format, auto... values)
{
    char line[128];
    std::snprintf(line, sizeof(line), format, values...);
    report += line;
}

void Place(std::string& report, const kelvory::TForm1& form, const kelvory::ImageControl& button)
{
    RECT bounds;
    GetWindowRect(button.Handle(), &bounds);
    MapWindowPoints(nullptr, form.GroupBox1, reinterpret_cast<POINT*>(&bounds), 2);
    Line(report, "%s %ld %ld %ld %ld\n", std::string(button.Name.begin(), button.Name.end()).c_str(), bounds.left,
         bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count != 2) {
        return 2;
    }

    kelvory::Application application(instance);
    const kelvory::TForm1 form(application, [](const kelvory::LaunchRequest&) {});

    std::string report;
    const kelvory::UniqueScreenDC screen(GetDC(nullptr));
    Line(report, "dpi %d\n", GetDeviceCaps(screen.get(), LOGPIXELSY));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(form.Handle(), WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    GetObjectW(font, sizeof(logFont), &logFont);
    SIZE extent{};
    {
        const kelvory::ScopedSelection selection(screen.get(), font);
        GetTextExtentPoint32W(screen.get(), L"0", 1, &extent);
    }
    Line(report, "font %ld %ls\n", logFont.lfHeight, logFont.lfFaceName);
    Line(report, "text %ld\n", extent.cy);
    RECT client;
    GetClientRect(form.Handle(), &client);
    RECT window;
    GetWindowRect(form.Handle(), &window);
    Line(report, "client %ld %ld\n", client.right, client.bottom);
    Line(report, "width %ld\n", window.right - window.left);
    for (const kelvory::ImageControl* button : {&form.Image3, &form.Image2, &form.Image4, &form.Image6}) {
        Place(report, form, *button);
    }
    for (const auto& slot : form.ProgramButtons) {
        if (slot && slot->Handle()) {
            Place(report, form, *slot);
        }
    }

    const kelvory::UniqueFileHandle file(
        CreateFileW(arguments[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    LocalFree(arguments);
    if (!file) {
        return 3;
    }
    DWORD written = 0;
    const BOOL wrote = WriteFile(file.get(), report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    return wrote && written == report.size() ? 0 : 4;
}
