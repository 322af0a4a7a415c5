// Tells the end-to-end tests where the launcher's windows are, as the window
// system itself sees them, and delivers close requests from outside.
//   windowinfo              prints the main window, its client area, every
//                           image button and any tooltip control it owns, in
//                           screen coordinates
//   windowinfo close-main   posts WM_CLOSE to the main window
//   windowinfo close-app    posts WM_CLOSE to the application window
//   windowinfo activate     brings the main window to the foreground, as a
//                           technician switching back to it would
//   windowinfo start N EXE  starts EXE with show command N in its startup
//                           information, as a shortcut or another shell would
//   windowinfo end-session  asks the main window whether the session may end,
//                           prints the answer, then tells it that it ends
//   windowinfo modules      prints the path of every module loaded in the
//                           launcher's process, one a line
//   windowinfo ping         sends the main window a message that does nothing
//                           and says whether it answered within a second
//   windowinfo double-click-time
//                           prints the system's double-click time in ms
#include "UniqueHandle.h"
#include "WindowClasses.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

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
    if (std::wcscmp(className, kelvory::kImageClass) == 0) {
        wchar_t name[32];
        GetWindowTextW(child, name, 32);
        RECT r;
        GetWindowRect(child, &r);
        std::printf("image %ls %ld %ld %ld %ld %d\n", name, r.left, r.top, r.right, r.bottom, IsWindowVisible(child) ? 1 : 0);
    }
    return TRUE;
}

// A tooltip control of the launcher's process owned by its main window, with
// whether it is shown and the text it shows, its line breaks written as \n.
BOOL CALLBACK PrintTooltip(HWND window, LPARAM mainWindow) noexcept
{
    const HWND main = reinterpret_cast<HWND>(mainWindow);
    wchar_t className[64];
    GetClassNameW(window, className, 64);
    DWORD process = 0;
    DWORD launcher = 0;
    GetWindowThreadProcessId(window, &process);
    GetWindowThreadProcessId(main, &launcher);
    if (_wcsicmp(className, L"tooltips_class32") != 0 || GetWindow(window, GW_OWNER) != main || process != launcher) {
        return TRUE;
    }
    wchar_t text[1024] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    std::wstring shown;
    for (const wchar_t* c = text; *c; ++c) {
        if (*c == L'\n') {
            shown += L"\\n";
        } else if (*c != L'\r') {
            shown += *c;
        }
    }
    RECT r;
    GetWindowRect(window, &r);
    std::printf("tooltip %ld %ld %ld %ld %d %ls\n", r.left, r.top, r.right, r.bottom, IsWindowVisible(window) ? 1 : 0,
                shown.c_str());
    return TRUE;
}

int PrintModules(HWND main)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    const kelvory::UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) {
        return 1;
    }
    HMODULE modules[512];
    DWORD needed = 0;
    const bool listed = EnumProcessModules(process.get(), modules, sizeof(modules), &needed);
    for (DWORD i = 0; listed && i < needed / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t path[MAX_PATH];
        if (GetModuleFileNameExW(process.get(), modules[i], path, MAX_PATH)) {
            std::printf("module %ls\n", path);
        }
    }
    std::fflush(stdout);
    return listed ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool closeApplication = argc > 1 && std::wcscmp(argv[1], L"close-app") == 0;
    const bool closeMain = argc > 1 && std::wcscmp(argv[1], L"close-main") == 0;
    const bool endSession = argc > 1 && std::wcscmp(argv[1], L"end-session") == 0;

    if (argc > 3 && std::wcscmp(argv[1], L"start") == 0) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(_wtoi(argv[2]));
        PROCESS_INFORMATION process{};
        std::wstring commandLine = std::wstring(L"\"") + argv[3] + L"\"";
        if (!CreateProcessW(argv[3], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            return 1;
        }
        const kelvory::UniqueKernelHandle thread(process.hThread);
        const kelvory::UniqueKernelHandle started(process.hProcess);
        return 0;
    }
    if (argc > 1 && std::wcscmp(argv[1], L"double-click-time") == 0) {
        std::printf("%u\n", GetDoubleClickTime());
        std::fflush(stdout);
        return 0;
    }
    if (closeApplication) {
        const HWND application = FindLauncherWindow(kelvory::kApplicationClass);
        return application && PostMessageW(application, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    const HWND main = FindLauncherWindow(kelvory::kFormClass);
    if (!main) {
        std::printf("no main window\n");
        return 1;
    }
    if (closeMain) {
        return PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (argc > 1 && std::wcscmp(argv[1], L"activate") == 0) {
        return SetForegroundWindow(main) ? 0 : 1;
    }
    if (argc > 1 && std::wcscmp(argv[1], L"modules") == 0) {
        return PrintModules(main);
    }
    if (argc > 1 && std::wcscmp(argv[1], L"ping") == 0) {
        DWORD_PTR result = 0;
        const DWORD start = GetTickCount();
        const bool answered = SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
        std::printf(answered ? "answered in %lu ms\n" : "no answer within %lu ms\n", GetTickCount() - start);
        std::fflush(stdout);
        return answered ? 0 : 1;
    }
    if (endSession) {
        const LRESULT agreed = SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        std::printf("query-end-session %d\n", static_cast<int>(agreed));
        std::fflush(stdout);
        // The launcher ends its process while handling this, so no answer comes back.
        SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, nullptr);
        return 0;
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
    EnumWindows(PrintTooltip, reinterpret_cast<LPARAM>(main));
    std::fflush(stdout);
    return 0;
}
