// The program entry: the application object and its main window, then the event
// loop until either is closed or the user's log-on ends. No command line is read.
#include "Application.h"
#include "DllSearch.h"
#include "Shell.h"
#include "Unit1.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    kelvory::RestrictDllSearch();

    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 0;
    {
        kelvory::Application application(instance);
        try {
            kelvory::TForm1 Form1(application);
            exitCode = application.Run(Form1.Handle(), kelvory::FirstShowFor(kelvory::StartShowCommand()));
        } catch (...) {
            application.ShowFailure(std::current_exception());
            exitCode = 1;
        }
    }

    kelvory::LeaveComApartment();
    return exitCode;
}
