// The buttons' tooltips on a real tooltip control: the main window created
// hidden with a recorder in place of the shell, mouse movements sent as real
// window messages, and each tool's text asked of the control itself with
// TTM_GETTEXTW, which makes the control request it from the window just as it
// does before it shows.
#include "ConfiguredForm.h"
#include "Text.h"

#include <commctrl.h>

namespace kelvory {
namespace {

class TooltipTest : public test::ConfiguredFormTest {
protected:
    const std::wstring described = test::OwnFolder() + L"described_recorder.exe";
    const std::wstring plain = test::OwnFolder() + L"recorder.exe";

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

    static void Hover(const ImageControl& button) { test::SendMouse(button, WM_MOUSEMOVE); }

    std::wstring TextOf(const ImageControl& button) const
    {
        const std::vector<HWND> tooltips = Tooltips();
        if (tooltips.size() != 1) {
            ADD_FAILURE() << tooltips.size() << " tooltip controls";
            return L"(no tooltip control)";
        }
        wchar_t buffer[INFOTIPSIZE] = L"(not answered)";
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = form->Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(button.Handle());
        tool.lpszText = buffer;
        SendMessageW(tooltips[0], TTM_GETTEXTW, INFOTIPSIZE, reinterpret_cast<LPARAM>(&tool));
        return buffer;
    }
};

TEST_F(TooltipTest, TheControlIsMadeAtTheFirstMouseMovementAsAnOwnedPopUpThatTakesNoFocus)
{
    DeleteFileW(ini.c_str());
    CreateForm();
    EXPECT_TRUE(Tooltips().empty());

    Hover(form->Image4);
    std::vector<HWND> tooltips = Tooltips();
    ASSERT_EQ(tooltips.size(), 1u);
    const HWND tooltip = tooltips[0];
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(tooltip, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(tooltip, GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CHILD), DWORD(WS_POPUP));
    EXPECT_EQ(style & (TTS_NOPREFIX | TTS_ALWAYSTIP), DWORD(TTS_NOPREFIX | TTS_ALWAYSTIP));
    EXPECT_EQ(exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW), DWORD(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW));
    EXPECT_EQ(GetParent(tooltip), form->Handle()); // a pop-up's parent is its owner
    EXPECT_NE(GetFocus(), tooltip);

    // Further movements, over the same button or others, make no second control.
    Hover(form->Image4);
    Hover(form->Image3);
    tooltips = Tooltips();
    ASSERT_EQ(tooltips.size(), 1u);
    EXPECT_EQ(tooltips[0], tooltip);
}

TEST_F(TooltipTest, EachFixedButtonSaysWhatItStarts)
{
    CreateForm();
    const struct {
        const ImageControl& button;
        const wchar_t* text;
    } cases[] = {
        {form->Image3, L"Command Prompt"},
        {form->Image2, L"Task Manager"},
        {form->Image4, L"Shut down now"},
        {form->Image6, L"Restart now"},
    };
    for (const auto& c : cases) {
        Hover(c.button);
        EXPECT_EQ(TextOf(c.button), c.text);
    }
}

TEST_F(TooltipTest, AConfiguredButtonTellsWhatAClickWouldStartAtThatMoment)
{
    ConfigurePrograms(described, plain);
    CreateForm();
    ASSERT_TRUE(form->ProgramButtons[0] && form->ProgramButtons[1]);
    const ImageControl& first = *form->ProgramButtons[0];
    const ImageControl& second = *form->ProgramButtons[1];
    Hover(first);
    Hover(second);

    // The description of the first language in the translation table, or the
    // file name; the path on the second line.
    EXPECT_EQ(TextOf(first), L"Launch recorder (German)\r\n" + described);
    EXPECT_EQ(TextOf(second), L"recorder.exe\r\n" + plain);

    // An edit is seen at the next showing, placeholders expanded.
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    SetEnvironmentVariableW(L"SystemRoot", windows);
    ConfigurePrograms(plain, L"%SYSTEMROOT%\\no-such-program.exe");
    EXPECT_EQ(TextOf(first), L"recorder.exe\r\n" + plain);
    EXPECT_EQ(TextOf(second), L"no-such-program.exe\r\n" + std::wstring(windows) + L"\\no-such-program.exe");

    // Where a click would start nothing, there is nothing to show.
    ConfigurePrograms(L"", plain);
    EXPECT_EQ(TextOf(first), L"");
    DeleteFileW(ini.c_str());
    EXPECT_EQ(TextOf(second), L"");
}

TEST_F(TooltipTest, ClicksAfterHoveringStartExactlyWhatTheyStartedBefore)
{
    ConfigurePrograms(described, plain);
    CreateForm();
    ASSERT_TRUE(form->ProgramButtons[1]);
    const ImageControl* buttons[] = {&form->Image3, &form->Image2, &form->Image4, &form->Image6,
                                     form->ProgramButtons[0].get(), form->ProgramButtons[1].get()};
    for (const ImageControl* button : buttons) {
        Hover(*button);
        // Through the control's subclass: right and middle clicks start nothing,
        // a double click starts once.
        test::SendMouse(*button, WM_RBUTTONDOWN);
        test::SendMouse(*button, WM_RBUTTONUP);
        test::SendMouse(*button, WM_MBUTTONDOWN);
        test::SendMouse(*button, WM_MBUTTONUP);
        test::SendMouse(*button, WM_LBUTTONDOWN);
        test::SendMouse(*button, WM_LBUTTONUP);
        test::SendMouse(*button, WM_LBUTTONDBLCLK);
        test::SendMouse(*button, WM_LBUTTONUP);
        Hover(*button);
        test::Click(*button);
    }

    const WindowId owner = ToWindowId(form->Handle());
    const LaunchRequest once[] = {
        FixedRequest({u"cmd.exe", std::nullopt}, owner), FixedRequest({u"taskmgr.exe", std::nullopt}, owner),
        FixedRequest({u"wpeutil", u"shutdown"}, owner),  FixedRequest({u"wpeutil", u"reboot"}, owner),
        ProgramRequest(test::Utf16(described), owner),   ProgramRequest(test::Utf16(plain), owner),
    };
    ASSERT_EQ(launched.size(), 2 * std::size(once));
    for (std::size_t i = 0; i < std::size(once); ++i) {
        EXPECT_EQ(launched[2 * i], once[i]) << i;
        EXPECT_EQ(launched[2 * i + 1], once[i]) << i;
    }
    EXPECT_EQ(Tooltips().size(), 1u);
}

TEST_F(TooltipTest, ADamagedVersionResourceIsPassedOverForTheFileName)
{
    // Copies of the described recorder with one length in the version resource
    // made wrong. A value's length is the second of the three words before its
    // key; the German description is the second "FileDescription" in the file.
    std::string image;
    {
        HANDLE file = CreateFileW(described.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        image.resize(GetFileSize(file, nullptr));
        DWORD read = 0;
        ReadFile(file, image.data(), static_cast<DWORD>(image.size()), &read, nullptr);
        CloseHandle(file);
    }
    const auto keyOffset = [&](std::u16string_view key, int occurrence) {
        const std::string bytes(reinterpret_cast<const char*>(key.data()), key.size() * 2);
        std::size_t at = std::string::npos;
        for (int n = 0; n < occurrence; ++n) {
            at = image.find(bytes, at + 1);
        }
        return at;
    };
    const struct {
        std::u16string_view key;
        int occurrence;
        std::uint16_t valueLength;
    } cases[] = {
        {u"FileDescription", 2, 0x7FFF}, // runs far past the end of the resource
        {u"Translation", 1, 2},          // too short for one language
        {u"Translation", 1, 0},
    };
    const std::wstring damaged = test::OwnFolder() + L"damaged.exe";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.valueLength);
        const std::size_t at = keyOffset(c.key, c.occurrence);
        ASSERT_NE(at, std::string::npos);
        std::string copy = image;
        copy[at - 4] = static_cast<char>(c.valueLength & 0xFF);
        copy[at - 3] = static_cast<char>(c.valueLength >> 8);
        ASSERT_TRUE(test::WriteFileBytes(damaged, copy));

        ConfigurePrograms(damaged, plain);
        CreateForm();
        ASSERT_TRUE(form->ProgramButtons[0]);
        Hover(*form->ProgramButtons[0]);
        EXPECT_EQ(TextOf(*form->ProgramButtons[0]), L"damaged.exe\r\n" + damaged);
        form.reset();
    }
    DeleteFileW(damaged.c_str());
}

} // namespace
} // namespace kelvory
