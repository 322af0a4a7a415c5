#pragma once
// The application object: its hidden application window, which carries the
// taskbar button with the application title and the main icon, the event loop,
// and the standard error box.
#include "Startup.h"

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

    // The application of this process, for the error box's caption.
    static Application* Current() noexcept { return s_current; }

    HINSTANCE Instance() const noexcept { return m_instance; }
    HWND Handle() const noexcept { return m_handle; }
    const std::u16string& Title() const noexcept { return m_title; }
    HWND MainWindow() const noexcept { return m_mainWindow; }

    // Makes the window the main window, shows it for the first time, centred at
    // its present size, and runs the event loop until the application ends.
    int Run(HWND mainWindow, FirstShow firstShow);

    // The first show alone, without the loop.
    void ShowMainWindow(HWND mainWindow, FirstShow firstShow);

    // The standard error box: the failure's innermost message, caption the
    // application title, OK and the stop icon, every window of ours disabled.
    void ShowFailure(const std::exception_ptr& failure) const noexcept;

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static inline Application* s_current = nullptr;

    HINSTANCE m_instance;
    std::u16string m_title;
    HWND m_handle = nullptr;
    HWND m_mainWindow = nullptr;
    bool m_showMainOnRestore = false;
};

// The show command the program was started with, from its startup information.
int StartShowCommand();

} // namespace kelvory
