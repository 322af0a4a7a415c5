#pragma once
// The main window with a kelvory.ini beside this test program, where the
// launcher looks for it, created hidden with a recorder in place of the shell,
// and the one tooltip control it makes.
#include "Application.h"
#include "Unit1.h"
#include "TestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvory::test {

class ConfiguredFormTest : public testing::Test {
protected:
    const std::wstring ini = OwnFolder() + L"kelvory.ini";
    // Recorders beside this test program, with and without a version resource.
    const std::wstring described = OwnFolder() + L"described_recorder.exe";
    const std::wstring plain = OwnFolder() + L"recorder.exe";
    Application application{GetModuleHandleW(nullptr)};
    std::vector<LaunchRequest> launched;
    std::unique_ptr<TForm1> form;

    void TearDown() override
    {
        form.reset();
        DeleteFileW(ini.c_str());
    }

    // A tooltip's lookup may be reading the file at this moment, as it may be
    // when a technician saves it: the write comes once the reader has let go.
    void Configure(std::string_view text)
    {
        ASSERT_TRUE(PumpUntil([&] { return WriteFileBytes(ini, text); })) << GetLastError();
    }

    // Entries name these ASCII paths; the profile reader takes the ANSI code page.
    void ConfigurePrograms(const std::wstring& prog1, const std::wstring& prog2)
    {
        const std::wstring text = L"[prog1]\r\nexe=" + prog1 + L"\r\n[prog2]\r\nexe=" + prog2 + L"\r\n";
        Configure(std::string(text.begin(), text.end()));
    }

    // Every tooltip control this thread has made for the form.
    std::vector<HWND> Tooltips() const
    {
        struct Search {
            HWND owner;
            std::vector<HWND> found;
        } search{form->Handle(), {}};
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM context) noexcept -> BOOL {
                auto& s = *reinterpret_cast<Search*>(context);
                wchar_t className[64];
                GetClassNameW(window, className, 64);
                if (_wcsicmp(className, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == s.owner) {
                    s.found.push_back(window);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // The text the tooltip control shows now, or nothing while it is hidden.
    std::wstring Shown() const
    {
        const std::vector<HWND> tooltips = Tooltips();
        wchar_t text[INFOTIPSIZE] = L"";
        if (tooltips.size() == 1 && IsWindowVisible(tooltips[0])) {
            GetWindowTextW(tooltips[0], text, INFOTIPSIZE);
        }
        return text;
    }

    // Handles this thread's messages until done says so, for five seconds at
    // most: what the tooltips' lookups find comes as messages.
    template <class Done>
    static bool PumpUntil(const Done& done)
    {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (done()) {
                return true;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return false;
    }

    void CreateForm()
    {
        form = std::make_unique<TForm1>(application, [this](const LaunchRequest& r) { launched.push_back(r); });
    }
};

} // namespace kelvory::test
