// A DLL named like a system DLL (dwmapi.dll), put beside the DLL search probe
// the way a planted copy would lie beside the program on a stick. Loading it
// leaves a mark in the process.
#include "DllSearchProbe.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SetEnvironmentVariableW(kPlantedMark, L"1");
    }
    return TRUE;
}
