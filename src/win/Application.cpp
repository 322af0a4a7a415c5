#include "Application.h"

#include "ErrorText.h"
#include "ModulePath.h"
#include "Text.h"
#include "WindowClasses.h"
#include "resource.h"

#include <utility>

namespace kelvory {

static_assert(kShowMaximized == SW_SHOWMAXIMIZED);
static_assert(kShowMinNoActive == SW_SHOWMINNOACTIVE);

std::u16string ProgramTitle()
{
    return ApplicationTitle(ModuleFileName(), [](std::u16string& text) {
        CharLowerBuffW(WideBuffer(text), static_cast<DWORD>(text.size()));
    });
}

void ShowErrorBox(const std::exception_ptr& failure, const std::u16string& caption) noexcept
{
    try {
        const std::u16string text = ErrorBoxText(Utf16FromUtf8(InnermostMessage(failure)));
        // Task-modal without an owner: every top-level window of this thread is
        // disabled while the box is open.
        MessageBoxW(nullptr, WideText(text), WideText(caption), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    } catch (...) {
        // Out of memory while reporting a failure: nothing better is left to do.
    }
}

Application::Application(HINSTANCE instance) : m_instance(instance), m_title(ProgramTitle())
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProcStub<Application>;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_MAIN));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kApplicationClass;
    RegisterWindowClass(windowClass);

    // A zero-size captioned pop-up: never seen itself, it owns the main window
    // and carries the taskbar button, so the tool window needs none of its own.
    m_handle = CreateWindowExW(
        0, kApplicationClass, WideText(m_title), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, instance, this);

    m_previousReporter = SetFailureReporter([this](const std::exception_ptr& failure) { ShowFailure(failure); });
}

Application::~Application()
{
    SetFailureReporter(std::move(m_previousReporter));
    if (m_handle) {
        DestroyWindow(m_handle);
    }
}

void Application::ShowMainWindow(HWND mainWindow, FirstShow firstShow)
{
    m_mainWindow = mainWindow;

    RECT window{};
    GetWindowRect(mainWindow, &window);
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const Point position = CentredPosition({workArea.right - workArea.left, workArea.bottom - workArea.top},
                                           {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)},
                                           {window.right - window.left, window.bottom - window.top});
    SetWindowPos(mainWindow, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The start's show command is applied here explicitly rather than left to the
    // window system's first-ShowWindow substitution, which Wine does not make:
    // so both behave alike.
    switch (firstShow) {
    case FirstShow::Minimized:
        // The taskbar button starts minimised; the main window appears when it is restored.
        ShowWindow(m_handle, SW_SHOWMINNOACTIVE);
        m_showMainOnRestore = true;
        break;
    case FirstShow::Maximized:
        ShowWindow(m_handle, SW_SHOWNOACTIVATE);
        ShowWindow(mainWindow, SW_SHOWMAXIMIZED);
        break;
    case FirstShow::Normal:
        ShowWindow(m_handle, SW_SHOWNOACTIVATE);
        ShowWindow(mainWindow, SW_SHOWNORMAL);
        break;
    }
}

int Application::Run(HWND mainWindow, FirstShow firstShow)
{
    ShowMainWindow(mainWindow, firstShow);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    m_mainWindow = nullptr;
    return static_cast<int>(message.wParam);
}

void Application::ShowFailure(const std::exception_ptr& failure) const noexcept
{
    ShowErrorBox(failure, m_title);
}

LRESULT Application::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; HandleSessionEnd(message, wParam, result)) {
        return result;
    }
    switch (message) {
    case WM_CLOSE:
        // Closing the taskbar button closes the main window, which ends the program.
        if (m_mainWindow) {
            SendMessageW(m_mainWindow, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE && m_showMainOnRestore && m_mainWindow) {
            const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            m_showMainOnRestore = false;
            ShowWindow(m_mainWindow, SW_SHOWNORMAL);
            return result;
        }
        break;
    case WM_SETFOCUS:
        // Activating the taskbar button activates the tool window it stands for.
        if (m_mainWindow && IsWindowVisible(m_mainWindow) && IsWindowEnabled(m_mainWindow)) {
            SetFocus(m_mainWindow);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        m_handle = nullptr;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int StartShowCommand()
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
}

} // namespace kelvory
