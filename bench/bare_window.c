/* The least a program can be that shows a window: the floor for start-up time
   and memory under Wine, most of which is Wine's own. Built twice: plain, and
   with the Common Controls 6 manifest and the common controls loaded, the floor
   for any program that uses them. */
#include "reference_window.h"

#ifdef REFERENCE_COMMON_CONTROLS
#include <commctrl.h>
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
#ifdef REFERENCE_COMMON_CONTROLS
    const INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
#endif
    ShowReferenceWindow(instance, QuitOnDestroy, 0);
    return RunMessageLoop();
}
