// Ends through kelvory.exe's own terminate handler: a failure escapes a
// function that must not fail. By default it happens on the window's thread
// while an application object, and with it the standard error box, exists;
// with "early" before any exists, and with "worker" on a thread of its own
// while the application exists. A GUI program, as kelvory.exe is: the runtime
// treats the two kinds apart.
#include "Application.h"
#include "Terminate.h"

#include <windows.h>

#include <cwchar>
#include <stdexcept>
#include <thread>

namespace {

[[gnu::noinline]] void Fail()
{
    throw std::runtime_error("The probe failed where it must not");
}

void MustNotFail() noexcept
{
    Fail();
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int)
{
    kelvory::InstallTerminateHandler();
    if (std::wcscmp(arguments, L"early") == 0) {
        MustNotFail();
    }
    const kelvory::Application application(instance);
    if (std::wcscmp(arguments, L"worker") == 0) {
        std::thread(MustNotFail).join();
    }
    MustNotFail();
    return 0;
}
