#include "Shell.h"

#include "SystemLibrary.h"

#include <objbase.h>
#include <shellapi.h>

namespace kelvory {

namespace {

LazyExport<decltype(&ExtractIconW)> g_extractIcon{L"shell32.dll", "ExtractIconW"};
LazyExport<decltype(&ShellExecuteW)> g_shellExecute{L"shell32.dll", "ShellExecuteW"};
LazyExport<decltype(&CoInitializeEx)> g_coInitializeEx{L"ole32.dll", "CoInitializeEx"};
LazyExport<decltype(&CoUninitialize)> g_coUninitialize{L"ole32.dll", "CoUninitialize"};

bool g_comTried = false;
bool g_comEntered = false;

} // namespace

HICON ExtractFileIcon(HINSTANCE instance, const wchar_t* file, UINT index) noexcept
{
    const auto extract = g_extractIcon.Get();
    return extract ? extract(instance, file, index) : nullptr;
}

void ShellExecuteFile(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                      const wchar_t* directory, int showMode) noexcept
{
    if (!g_comTried) {
        g_comTried = true;
        if (const auto initialize = g_coInitializeEx.Get()) {
            g_comEntered = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
        }
    }
    if (const auto execute = g_shellExecute.Get()) {
        execute(owner, verb, file, parameters, directory, showMode);
    }
}

void LeaveComApartment() noexcept
{
    if (!g_comEntered) {
        return;
    }
    g_comEntered = false;
    if (const auto uninitialize = g_coUninitialize.Get()) {
        uninitialize();
    }
}

} // namespace kelvory
