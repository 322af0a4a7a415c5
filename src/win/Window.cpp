#include "Window.h"

#include "Application.h"

namespace kelvory {

void RegisterWindowClass(const WNDCLASSEXW& windowClass)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing)) {
        RegisterClassExW(&windowClass);
    }
}

bool HandleSessionEnd(UINT message, WPARAM wParam, LRESULT& result) noexcept
{
    if (message == WM_QUERYENDSESSION) {
        result = TRUE;
        return true;
    }
    if (message == WM_ENDSESSION) {
        if (wParam) {
            ExitProcess(0);
        }
        result = 0;
        return true;
    }
    return false;
}

void ShowHandlerFailure(const std::exception_ptr& failure) noexcept
{
    if (const Application* application = Application::Current()) {
        application->ShowFailure(failure);
    }
}

} // namespace kelvory
