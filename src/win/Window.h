#pragma once
// The one window pattern of the program: a static, noexcept window procedure
// binds the object given at creation and forwards every message to its
// HandleMessage member. A failure escaping a handler is caught right here, at
// the edge of the system's frame, and shown in the standard error box: no
// exception ever crosses the window system.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <functional>

namespace kelvory {

// Shows a failure that escaped a handler. The window pattern knows nothing of
// the error box: whoever owns it registers this function.
using FailureReportFunction = std::function<void(const std::exception_ptr& failure)>;

// Registers the function that reports failures and returns the one it
// replaces, so that the owner can put it back when it goes. An empty function
// reports nothing.
FailureReportFunction SetFailureReporter(FailureReportFunction reporter) noexcept;

// Hands the failure to the registered function; nothing happens without one.
void ReportFailure(const std::exception_ptr& failure) noexcept;

template <class T>
LRESULT CALLBACK WindowProcStub(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    T* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!self) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    try {
        return self->HandleMessage(window, message, wParam, lParam);
    } catch (...) {
        ReportFailure(std::current_exception());
        return 0;
    }
}

// The same pattern for a window of another class that an object subclasses
// (SetWindowSubclass with the object as reference data): every message goes to
// its HandleSubclassMessage member, which passes on what it leaves to
// DefSubclassProc, and failures are caught and shown as above. The subclass is
// removed as its window goes, at WM_NCDESTROY, the last message it gets.
template <class T>
LRESULT CALLBACK SubclassProcStub(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR object) noexcept
{
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProcStub<T>, id);
    }
    try {
        return reinterpret_cast<T*>(object)->HandleSubclassMessage(window, message, wParam, lParam);
    } catch (...) {
        ReportFailure(std::current_exception());
        return 0;
    }
}

// The end of the Windows session, for both top-level windows: agreed to at
// once, and when it is confirmed the program ends there and then; nothing is
// saved on the way out. True when the message was one of the two.
bool HandleSessionEnd(UINT message, WPARAM wParam, LRESULT& result) noexcept;

// Registers a window class of this program once; later calls do nothing.
void RegisterWindowClass(const WNDCLASSEXW& windowClass);

} // namespace kelvory
