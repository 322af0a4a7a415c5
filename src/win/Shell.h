#pragma once
// The program's calls into SHELL32 and OLE32. Neither DLL is loaded at start-up:
// each comes from System32 at its first use, so a launcher with no configured
// programs carries neither until its first start, and one with configured
// programs only SHELL32 for their icons.
#include <windows.h>

namespace kelvory {

// ExtractIconW with the same arguments. Null when SHELL32 cannot be loaded.
HICON ExtractFileIcon(HINSTANCE instance, const wchar_t* file, UINT index) noexcept;

// ShellExecuteW with the same arguments. Before the first start the calling
// thread enters a single-threaded COM apartment: the shell may hand a start to
// COM extensions, which want one on the thread that calls ShellExecuteW.
void ShellExecuteFile(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                      const wchar_t* directory, int showMode) noexcept;

// Leaves the COM apartment if a start entered it. Called on the thread that
// started programs, as the program ends.
void LeaveComApartment() noexcept;

} // namespace kelvory
