#pragma once
// What the tests under Wine share: real mouse messages to an image button,
// fixture files written byte for byte, text between the tests' wide strings and
// the program's UTF-16, and changes to the process that are undone however a
// test ends.
#include "ImageControl.h"
#include "ModulePath.h"
#include "Text.h"
#include "UniqueHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

inline std::wstring Wide(const std::u16string& text)
{
    return std::wstring(WideText(text), text.size());
}

inline std::u16string Utf16(std::wstring_view text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// Writes the bytes as they stand. The profile reader takes a file without a
// byte order mark in the ANSI code page.
inline bool WriteFileBytes(const std::wstring& path, std::string_view bytes)
{
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    const BOOL wrote = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return wrote && written == bytes.size();
}

// The folder of the running test program, with its trailing backslash.
inline std::wstring OwnFolder()
{
    const std::wstring self = Wide(ModuleFileName());
    return self.substr(0, self.rfind(L'\\') + 1);
}

// The value of an environment variable of this process, or none when unset.
inline std::optional<std::wstring> VariableValue(const std::wstring& name)
{
    const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), size));
    return value;
}

// Changes variables of this process for one test and puts them back afterwards.
class ScopedVariables {
public:
    ScopedVariables() = default;
    ScopedVariables(const ScopedVariables&) = delete;
    ScopedVariables& operator=(const ScopedVariables&) = delete;

    ~ScopedVariables()
    {
        for (auto saved = m_saved.rbegin(); saved != m_saved.rend(); ++saved) {
            SetEnvironmentVariableW(saved->first.c_str(), saved->second ? saved->second->c_str() : nullptr);
        }
    }

    // Removes the variable under any spelling first, so it is set with exactly
    // the spelling given; a null value leaves it unset.
    void Set(const std::wstring& name, const wchar_t* value)
    {
        m_saved.emplace_back(name, VariableValue(name));
        SetEnvironmentVariableW(name.c_str(), nullptr);
        if (value != nullptr) {
            ASSERT_TRUE(SetEnvironmentVariableW(name.c_str(), value));
        }
    }

private:
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> m_saved;
};

// Makes a folder the current one for one test and goes back afterwards.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::wstring& folder)
    {
        m_previous.resize(GetCurrentDirectoryW(0, nullptr));
        m_previous.resize(GetCurrentDirectoryW(static_cast<DWORD>(m_previous.size()), m_previous.data()));
        m_changed = SetCurrentDirectoryW(folder.c_str()) != FALSE;
    }
    ~ScopedCurrentDirectory() { SetCurrentDirectoryW(m_previous.c_str()); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

    bool Changed() const noexcept { return m_changed; }

private:
    std::wstring m_previous;
    bool m_changed = false;
};

} // namespace kelvory::test
