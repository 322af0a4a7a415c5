#pragma once
#include "LaunchRequest.h"

#include <windows.h>

#include <functional>

namespace kelvory {

// Hands one request to the shell with ShellExecuteW. Whether the start worked is
// not examined: a failed start leaves no trace, on purpose.
void Launch(const LaunchRequest& request);

// What the window calls to start a program: Launch in the program, a recorder in
// the tests.
using LaunchFunction = std::function<void(const LaunchRequest&)>;

inline WindowId ToWindowId(HWND window) { return reinterpret_cast<WindowId>(window); }
inline HWND ToWindowHandle(WindowId window) { return reinterpret_cast<HWND>(window); }

} // namespace kelvory
