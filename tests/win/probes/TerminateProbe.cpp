// Ends through kelvory.exe's own terminate handler: a failure escapes a
// function that must not fail. By default an application object, and with it
// the standard error box, exists at that moment; with "early" none does yet.
// A GUI program, as kelvory.exe is: the runtime treats the two kinds apart.
#include "Application.h"

#include <windows.h>

#include <cwchar>
#include <stdexcept>

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
    if (std::wcscmp(arguments, L"early") == 0) {
        MustNotFail();
    }
    const kelvory::Application application(instance);
    MustNotFail();
    return 0;
}
