// The program entry: the application object and its main window, then the event
// loop until either is closed or the user's log-on ends. No command line is read.
#include "Application.h"
#include "DllSearch.h"
#include "Shell.h"
#include "Terminate.h"
#include "Unit1.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    kelvory::InstallTerminateHandler();
    kelvory::RestrictDllSearch();

    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 1;
    try {
        kelvory::Application application(instance);
        try {
            kelvory::TForm1 Form1(application);
            exitCode = application.Run(Form1.Handle(), kelvory::FirstShowFor(kelvory::StartShowCommand()));
        } catch (...) {
            application.ShowFailure(std::current_exception());
        }
    } catch (...) {
        // The application object itself could not be made (out of memory): the
        // box still appears, captioned with the title if that can be had.
        std::u16string title;
        try {
            title = kelvory::ProgramTitle();
        } catch (...) {
        }
        kelvory::ShowErrorBox(std::current_exception(), title);
    }

    kelvory::LeaveComApartment();
    return exitCode;
}
