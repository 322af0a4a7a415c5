/* The minimal launcher of the same kind, the yardstick for kelvory.exe's
   start-up: the Common Controls 6 manifest, kelvory.ini beside the program read
   with the profile functions, ExtractIconW per entry, and the icons drawn in a
   tool window of the same size, widened by 48 pixels per icon. SHELL32 is loaded
   only when there is an entry to extract from. Plain C and Win32, no C++
   runtime. */
#include "reference_window.h"

#include <commctrl.h>
#include <shellapi.h>

enum { kEntryCount = 8, kButtonStep = 48, kFirstLeft = 8 + 4 * kButtonStep, kButtonTop = 16 };

static HICON g_icons[kEntryCount];
static int g_iconCount;

static LRESULT CALLBACK LauncherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        for (int i = 0; i < g_iconCount; ++i) {
            DrawIconEx(dc, kFirstLeft + i * kButtonStep, kButtonTop, g_icons[i], 32, 32, 0, NULL, DI_NORMAL);
        }
        EndPaint(window, &paint);
        return 0;
    }
    return QuitOnDestroy(window, message, wParam, lParam);
}

static void ExtractConfiguredIcons(HINSTANCE instance)
{
    wchar_t ini[MAX_PATH];
    const DWORD length = GetModuleFileNameW(NULL, ini, MAX_PATH);
    wchar_t* name = wcsrchr(ini, L'\\');
    if (length == 0 || length >= MAX_PATH || !name || name + 12 >= ini + MAX_PATH) {
        return;
    }
    wcscpy(name + 1, L"kelvory.ini");
    if (GetFileAttributesW(ini) == INVALID_FILE_ATTRIBUTES) {
        return;
    }

    typedef HICON(WINAPI * ExtractIconFunction)(HINSTANCE, LPCWSTR, UINT);
    ExtractIconFunction extractIcon = NULL;
    for (int number = 1; number <= kEntryCount; ++number) {
        wchar_t section[8];
        wchar_t path[MAX_PATH];
        wsprintfW(section, L"prog%d", number);
        if (GetPrivateProfileStringW(section, L"exe", L"", path, MAX_PATH, ini) == 0) {
            continue;
        }
        if (!extractIcon) {
            HMODULE shell = LoadLibraryExW(L"shell32.dll", NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
            extractIcon = shell ? (ExtractIconFunction)(void (*)(void))GetProcAddress(shell, "ExtractIconW") : NULL;
            if (!extractIcon) {
                return;
            }
        }
        HICON icon = extractIcon(instance, path, 0);
        if (icon) {
            g_icons[g_iconCount++] = icon;
        }
    }
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    const INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ExtractConfiguredIcons(instance);
    ShowReferenceWindow(instance, LauncherProc, g_iconCount * kButtonStep);
    return RunMessageLoop();
}
