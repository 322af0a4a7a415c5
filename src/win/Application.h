#pragma once
// The application object: its hidden application window, which carries the
// taskbar button with the application title and the main icon, the event loop,
// and the standard error box.
#include "Startup.h"
#include "Window.h"

#include <windows.h>

#include <exception>
#include <string>

namespace kelvory {

class Application {
public:
    explicit Application(HINSTANCE instance);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    HINSTANCE Instance() const noexcept { return m_instance; }
    HWND Handle() const noexcept { return m_handle; }
    HWND MainWindow() const noexcept { return m_mainWindow; }

    // Makes the window the main window, shows it for the first time, centred at
    // its present size, and runs the event loop until the application ends.
    int Run(HWND mainWindow, FirstShow firstShow);

    // Run's first step alone, without the loop. Public only as a seam for the
    // tests, which look at the first show while no loop runs.
    void ShowMainWindow(HWND mainWindow, FirstShow firstShow);

    // The standard error box with the application title as its caption. While
    // the application exists, every failure that escapes a window's handler is
    // shown here.
    void ShowFailure(const std::exception_ptr& failure) const noexcept;

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HINSTANCE m_instance;
    std::u16string m_title;
    HWND m_handle = nullptr;
    HWND m_mainWindow = nullptr;
    bool m_showMainOnRestore = false;
    FailureReportFunction m_previousReporter;
};

// The application title of this program: its file name after the last
// backslash, cut at its first period, all but the first character in lower case.
std::u16string ProgramTitle();

// The standard error box: the failure's innermost message, the caption given,
// OK and the stop icon, and every window of this thread disabled while it is open.
void ShowErrorBox(const std::exception_ptr& failure, const std::u16string& caption) noexcept;

// The show command the program was started with, from its startup information.
int StartShowCommand();

} // namespace kelvory
