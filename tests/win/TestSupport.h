#pragma once
// What the tests under Wine share: real mouse messages to an image button, and
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

// Writes the bytes as they stand. The profile reader takes a file without a
// byte order mark in the ANSI code page.
inline bool WriteFileBytes(const std::wstring& path, std::string_view bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == bytes.size();
}

// The folder of the running test program, with its trailing backslash.
inline std::wstring OwnFolder()
{
    const std::wstring self = ModuleFileName();
    return self.substr(0, self.rfind(L'\\') + 1);
}

} // namespace kelvory::test
