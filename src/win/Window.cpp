#include "Window.h"

#include <utility>

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

namespace {
// Only the GUI thread runs window procedures and registers reporters.
FailureReportFunction g_reporter;
} // namespace

FailureReportFunction SetFailureReporter(FailureReportFunction reporter) noexcept
{
    return std::exchange(g_reporter, std::move(reporter));
}

void ReportFailure(const std::exception_ptr& failure) noexcept
{
    try {
        if (g_reporter) {
            g_reporter(failure);
        }
    } catch (...) {
        // A reporter that fails has nothing left to report with.
    }
}

} // namespace kelvory
