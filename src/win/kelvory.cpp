// The program entry: the application object and its main window, then the event
// loop until either is closed or the user's log-on ends. No command line is read.
#include "Application.h"
#include "DllSearch.h"
#include "Unit1.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    kelvory::RestrictDllSearch();

    // The shell may hand a start to COM extensions, which want an apartment on
    // the thread that calls ShellExecuteW.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

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

    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return exitCode;
}
