// The yardstick for the start-up benchmark: the least a Win32 program can be
// that shows a window with the same platform set-up as the launcher (a COM
// apartment, common controls 6 through its manifest, the shell loaded). Under
// Wine most of any program's time and working set is Wine's own, so the
// launcher's share is what it takes beyond this.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // Loaded as the launcher has it loaded, without starting anything.
    SHFILEINFOW info{};
    SHGetFileInfoW(L".exe", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = BareProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"TForm1";
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"TForm1", L"bare", WS_CAPTION, 100, 100, 204, 83, nullptr,
                                  nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
