#pragma once
// The window class names of Kelvory's windows: the program registers them, and
// the tools that look for its windows from outside (the end-to-end tests, the
// start-up benchmark) search by them.

namespace kelvory {

// The hidden application window that carries the taskbar button.
inline constexpr wchar_t kApplicationClass[] = L"KelvoryApplication";
// The main window Form1.
inline constexpr wchar_t kFormClass[] = L"TForm1";
// The image buttons.
inline constexpr wchar_t kImageClass[] = L"KelvoryImage";

} // namespace kelvory
