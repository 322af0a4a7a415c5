// The window pattern for a window another object subclasses, on a real window:
// a failure in the object's handler is reported and answered, and the
// subclass is gone when its window is.
#include "Window.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

namespace kelvory {
namespace {

struct Subclasser {
    bool subclassedAtItsEnd = true;

    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_APP) {
            throw std::runtime_error("The handler failed");
        }
        if (message == WM_NCDESTROY) {
            // Removing it once more succeeds only when it is still there.
            subclassedAtItsEnd = RemoveWindowSubclass(window, SubclassProcStub<Subclasser>, 0);
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }
};

TEST(SubclassProcStub, ReportsAFailureAndLetsTheWindowGoAtItsEnd)
{
    std::exception_ptr reported;
    struct Reporter {
        FailureReportFunction previous;
        ~Reporter() { SetFailureReporter(std::move(previous)); }
    } reporter{SetFailureReporter([&](const std::exception_ptr& failure) { reported = failure; })};

    Subclasser object;
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    ASSERT_TRUE(SetWindowSubclass(window, SubclassProcStub<Subclasser>, 0, reinterpret_cast<DWORD_PTR>(&object)));

    EXPECT_EQ(SendMessageW(window, WM_APP, 0, 0), 0);
    ASSERT_TRUE(reported);
    EXPECT_THROW(std::rethrow_exception(reported), std::runtime_error);

    DestroyWindow(window);
    EXPECT_FALSE(object.subclassedAtItsEnd);
}

} // namespace
} // namespace kelvory
