/* What the benchmark's reference programs share: a tool window of the main
   window's class and client size, which the benchmark passes on the command
   line ("<width> <height>"), shown at once, and the message loop. Plain C and
   Win32, no C++ runtime. */
#ifndef KELVORY_BENCH_REFERENCE_WINDOW_H
#define KELVORY_BENCH_REFERENCE_WINDOW_H

#include <windows.h>
#include <stdlib.h>

/* Reads "<width> <height>" from the command line after the program's name. */
static SIZE ReferenceClientSize(void)
{
    const wchar_t* arguments = GetCommandLineW();
    SIZE size = {198, 61};
    if (*arguments == L'"') {
        arguments = wcschr(arguments + 1, L'"');
        arguments = arguments ? arguments + 1 : L"";
    } else {
        while (*arguments && *arguments != L' ') {
            ++arguments;
        }
    }
    wchar_t* end = NULL;
    const long width = wcstol(arguments, &end, 10);
    const long height = wcstol(end, &end, 10);
    if (width > 0 && height > 0) {
        size.cx = width;
        size.cy = height;
    }
    return size;
}

/* Creates and shows the tool window with the given window procedure; the
   client area is the given size widened by extraWidth. */
static HWND ShowReferenceWindow(HINSTANCE instance, WNDPROC procedure, int extraWidth)
{
    WNDCLASSEXW windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"TForm1";
    RegisterClassExW(&windowClass);

    const DWORD style = WS_CAPTION | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    const SIZE client = ReferenceClientSize();
    RECT frame = {0, 0, client.cx + extraWidth, client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOOLWINDOW);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"TForm1", L"reference", style, 100, 100,
                                  frame.right - frame.left, frame.bottom - frame.top, NULL, NULL, instance, NULL);
    ShowWindow(window, SW_SHOWNORMAL);
    return window;
}

static int RunMessageLoop(void)
{
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

static LRESULT CALLBACK QuitOnDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

#endif
