#pragma once
// What the window tests share: real mouse messages to an image button, and
// fixture files written byte for byte.
#include "ImageControl.h"
#include "ModulePath.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace kelvory::test {

inline void SendMouse(const ImageControl& image, UINT message, int x = 5, int y = 5)
{
    const WPARAM keys = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ? MK_LBUTTON : 0;
    SendMessageW(image.Handle(), message, keys, MAKELPARAM(x, y));
}

// A left press and its release inside the button.
inline void Click(const ImageControl& image)
{
    SendMouse(image, WM_LBUTTONDOWN);
    SendMouse(image, WM_LBUTTONUP);
}

// Writes ASCII text as it stands; the profile reader takes it in the ANSI code page.
inline bool WriteAsciiFile(const std::wstring& path, std::string_view text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == text.size();
}

// The folder of the running test program, with its trailing backslash.
inline std::wstring OwnFolder()
{
    const std::wstring self = ModuleFileName();
    return self.substr(0, self.rfind(L'\\') + 1);
}

} // namespace kelvory::test
