// kelvory.exe's terminate handler, installed in a probe of its own: a failure
// that escapes a function that must not fail on the window's thread still
// reaches the standard error box, one on another thread does not, and the
// program then ends as abort ends it.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace kelvory::test {
namespace {

// abort's exit code.
constexpr DWORD kAborted = 3;

// The probe's message box once it shows, closed with OK after it is read.
std::optional<MessageBoxText> CloseBoxOf(DWORD processId)
{
    struct Search {
        DWORD processId;
        std::optional<MessageBoxText> box;
    } search{processId, std::nullopt};
    for (int attempt = 0; attempt < 100 && !search.box; ++attempt) {
        Sleep(100);
        EnumWindows(
            [](HWND window, LPARAM context) noexcept -> BOOL {
                auto& s = *reinterpret_cast<Search*>(context);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner != s.processId || !(s.box = ReadMessageBox(window))) {
                    return TRUE;
                }
                PostMessageW(window, WM_COMMAND, IDOK, 0);
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
    }
    return search.box;
}

TEST(TerminateHandler, ShowsTheFailureInTheStandardErrorBoxAndThenAborts)
{
    const UniqueKernelHandle process = StartProgram(OwnFolder() + L"terminate_probe.exe", L"");
    ASSERT_TRUE(process);
    const std::optional<MessageBoxText> box = CloseBoxOf(GetProcessId(process.get()));
    ASSERT_TRUE(box) << "no error box appeared";
    EXPECT_EQ(box->text, L"The probe failed where it must not.");
    EXPECT_EQ(box->caption, L"terminate_probe");
    EXPECT_EQ(ExitCodeOf(process), kAborted);
}

TEST(TerminateHandler, AbortsAtOnceWhenNoApplicationHasAnErrorBoxYet)
{
    const UniqueKernelHandle process = StartProgram(OwnFolder() + L"terminate_probe.exe", L"early");
    ASSERT_TRUE(process);
    EXPECT_EQ(ExitCodeOf(process), kAborted);
}

TEST(TerminateHandler, AbortsWithoutTheErrorBoxOnAnotherThread)
{
    const UniqueKernelHandle process = StartProgram(OwnFolder() + L"terminate_probe.exe", L"worker");
    ASSERT_TRUE(process);
    // A box shown from the worker would hold the probe open until it is closed.
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) {
        const std::optional<MessageBoxText> box = CloseBoxOf(GetProcessId(process.get()));
        TerminateProcess(process.get(), 1);
        FAIL() << "the probe did not end; its box says: " << (box ? box->text : std::wstring(L"(none)"));
    }
    EXPECT_EQ(ExitCodeOf(process), kAborted);
}

} // namespace
} // namespace kelvory::test
