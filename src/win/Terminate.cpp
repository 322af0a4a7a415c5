#include "Terminate.h"

#include "Window.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <exception>

namespace kelvory {

namespace {

std::atomic<DWORD> g_windowThread{0};
// Set by the first report: the error box's own message loop may run the
// program's windows once more, and a second failure on the way ends the
// program at once.
std::atomic_flag g_reporting; // starts clear

[[noreturn]] void Terminate() noexcept
{
    // The reporter and the error box belong to the window's thread. Another
    // thread ends the program without them: a box shown there would leave the
    // windows running beside a thread that has already failed.
    if (GetCurrentThreadId() == g_windowThread.load() && !g_reporting.test_and_set()) {
        if (const std::exception_ptr failure = std::current_exception()) {
            ReportFailure(failure);
        }
    }
    std::abort();
}

} // namespace

void InstallTerminateHandler() noexcept
{
    g_windowThread.store(GetCurrentThreadId());
    std::set_terminate(Terminate);
}

} // namespace kelvory
