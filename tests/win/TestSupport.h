#pragma once
// What the tests under Wine share: real mouse messages to an image button,
// fixture files written and read byte for byte, programs started and waited
// for, text between the tests' wide strings and the program's UTF-16, and
// changes to the process that are undone however a test ends.
#include "ImageControl.h"
#include "LaunchRequest.h"
#include "ModulePath.h"
#include "Text.h"
#include "UniqueHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvory {

// A launch request as a failing test prints it.
inline void PrintTo(const LaunchRequest& request, std::ostream* out)
{
    const auto text = [](const std::u16string& value) { return std::string(value.begin(), value.end()); };
    *out << "{owner " << request.owner << ", " << text(request.verb) << " \"" << text(request.file) << "\", "
         << (request.parameters ? "\"" + text(*request.parameters) + "\"" : "none") << ", "
         << (request.directory ? "\"" + text(*request.directory) + "\"" : "none") << ", show " << request.showMode
         << "}";
}

} // namespace kelvory

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

inline std::wstring Wide(std::u16string_view text)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
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

// The whole file as it stands; empty when it cannot be read.
inline std::string ReadFileBytes(const std::wstring& path)
{
    const UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return {};
    }
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

// Starts the program with the arguments after its quoted path, in the given
// current directory (the test's own when null). Empty when it did not start.
inline UniqueKernelHandle StartProgram(const std::wstring& program, const std::wstring& arguments,
                                       const wchar_t* currentDirectory = nullptr)
{
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, currentDirectory,
                        &startup, &process)) {
        return UniqueKernelHandle();
    }
    CloseHandle(process.hThread);
    return UniqueKernelHandle(process.hProcess);
}

// The exit code of the process once it has ended, waiting 30 seconds at most;
// none when it did not end in that time.
inline std::optional<DWORD> ExitCodeOf(const UniqueKernelHandle& process)
{
    DWORD exitCode = 0;
    if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.get(), &exitCode)) {
        return std::nullopt;
    }
    return exitCode;
}

// What a message box window shows: its caption and its text.
struct MessageBoxText {
    std::wstring caption;
    std::wstring text;
};

// The message box's caption and text when the window is a shown message box.
inline std::optional<MessageBoxText> ReadMessageBox(HWND window)
{
    wchar_t className[16];
    GetClassNameW(window, className, 16);
    if (std::wstring_view(className) != L"#32770" || !IsWindowVisible(window)) {
        return std::nullopt;
    }
    MessageBoxText box;
    wchar_t buffer[256];
    GetWindowTextW(window, buffer, 256);
    box.caption = buffer;
    // The text is the one static control with text; the icon is a static too.
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetClassNameW(child, className, 16);
        if (_wcsicmp(className, L"Static") == 0 && GetWindowTextW(child, buffer, 256) > 0) {
            box.text = buffer;
        }
    }
    return box;
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
