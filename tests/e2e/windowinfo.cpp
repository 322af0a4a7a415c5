// Tells the end-to-end tests where the launcher's windows are, as the window
// system itself sees them, and delivers close requests from outside.
//   windowinfo              prints the main window, its client area and every
//                           image button, in screen coordinates
//   windowinfo close-main   posts WM_CLOSE to the main window
//   windowinfo close-app    posts WM_CLOSE to the application window
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

HWND FindLauncherWindow(const wchar_t* className)
{
    // The launcher may still be starting: wait for it a little.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (HWND window = FindWindowW(className, nullptr)) {
            return window;
        }
        Sleep(100);
    }
    return nullptr;
}

BOOL CALLBACK PrintImage(HWND child, LPARAM) noexcept
{
    wchar_t className[64];
    GetClassNameW(child, className, 64);
    if (std::wcscmp(className, L"KelvoryImage") == 0) {
        wchar_t name[32];
        GetWindowTextW(child, name, 32);
        RECT r;
        GetWindowRect(child, &r);
        std::printf("image %ls %ld %ld %ld %ld %d\n", name, r.left, r.top, r.right, r.bottom, IsWindowVisible(child) ? 1 : 0);
    }
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool closeApplication = argc > 1 && std::wcscmp(argv[1], L"close-app") == 0;
    const bool closeMain = argc > 1 && std::wcscmp(argv[1], L"close-main") == 0;

    if (closeApplication) {
        const HWND application = FindLauncherWindow(L"KelvoryApplication");
        return application && PostMessageW(application, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    const HWND main = FindLauncherWindow(L"TForm1");
    if (!main) {
        std::printf("no main window\n");
        return 1;
    }
    if (closeMain) {
        return PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
    }

    RECT window;
    GetWindowRect(main, &window);
    RECT client;
    GetClientRect(main, &client);
    POINT origin{0, 0};
    ClientToScreen(main, &origin);
    RECT workArea;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    std::printf("window %ld %ld %ld %ld %d %d %d\n", window.left, window.top, window.right, window.bottom,
                IsWindowVisible(main) ? 1 : 0, IsZoomed(main) ? 1 : 0, IsIconic(GetWindow(main, GW_OWNER)) ? 1 : 0);
    std::printf("client %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    std::printf("workarea %ld %ld %ld %ld\n", workArea.left, workArea.top, workArea.right, workArea.bottom);
    EnumChildWindows(main, PrintImage, 0);
    std::fflush(stdout);
    return 0;
}
