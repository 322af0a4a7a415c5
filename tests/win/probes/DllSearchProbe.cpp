// Loads dwmapi.dll by its bare name, as any program or system DLL might, with a
// planted copy lying beside this program. With "restricted" as its argument it
// first restricts the DLL search as kelvory.exe does. Its exit code tells which
// copy came; the restriction cannot be undone, hence a process per case.
#include "DllSearch.h"
#include "DllSearchProbe.h"

#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && std::wcscmp(argv[1], L"restricted") == 0) {
        kelvory::RestrictDllSearch();
    }

    const HMODULE module = LoadLibraryW(L"dwmapi.dll");
    if (GetEnvironmentVariableW(kPlantedMark, nullptr, 0) != 0) {
        return kPlantedCopy;
    }
    if (!module) {
        return kNoCopy;
    }
    wchar_t expected[MAX_PATH];
    const UINT length = GetSystemDirectoryW(expected, MAX_PATH);
    if (length == 0 || length + 12 >= MAX_PATH) {
        return kNoCopy;
    }
    std::wcscat(expected, L"\\dwmapi.dll");
    wchar_t loaded[MAX_PATH];
    GetModuleFileNameW(module, loaded, MAX_PATH);
    return CompareStringOrdinal(loaded, -1, expected, -1, TRUE) == CSTR_EQUAL ? kSystemCopy : kOtherCopy;
}
