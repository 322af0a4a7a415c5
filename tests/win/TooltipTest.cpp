// The buttons' tooltips on a real tooltip control: the main window created
// hidden with a recorder in place of the shell, mouse movements sent as real
// window messages, and each tool's text asked of the control itself with
// TTM_GETTEXTW, which makes the control request it from the window just as it
// does before it shows.
#include "ConfiguredForm.h"
#include "FixedTooltips.h"
#include "Text.h"
#include "VersionInfo.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <thread>

namespace kelvory {
namespace {

class TooltipTest : public test::ConfiguredFormTest {
protected:
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

    // The entries in UTF-16, for paths beyond the ANSI code page.
    void ConfigureWide(const std::wstring& prog1, const std::wstring& prog2)
    {
        const std::wstring text = L"\uFEFF[prog1]\r\nexe=" + prog1 + L"\r\n[prog2]\r\nexe=" + prog2 + L"\r\n";
        Configure(std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)));
    }

    // Handles this thread's messages until done says so, for five seconds at most.
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

    // Moves the real pointer over the button, or away from the form.
    static void PointAt(const ImageControl* button)
    {
        RECT r{};
        if (button) {
            GetWindowRect(button->Handle(), &r);
        }
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
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
        std::u16string_view text;
    } cases[] = {
        {form->Image3, kCommandPromptTooltip},
        {form->Image2, kTaskManagerTooltip},
        {form->Image4, kShutDownTooltip},
        {form->Image6, kRestartTooltip},
    };
    for (const auto& c : cases) {
        Hover(c.button);
        EXPECT_EQ(TextOf(c.button), test::Wide(c.text));
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
    test::ScopedVariables variables;
    variables.Set(L"SystemRoot", windows);
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
    const std::string image = test::ReadFileBytes(described);
    ASSERT_FALSE(image.empty());
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

// A copy of a file, removed again with the test.
struct ScopedCopy {
    ScopedCopy(const std::wstring& source, std::wstring copy) : path(std::move(copy))
    {
        copied = CopyFileW(source.c_str(), path.c_str(), FALSE) != FALSE;
    }
    ~ScopedCopy() { DeleteFileW(path.c_str()); }
    ScopedCopy(const ScopedCopy&) = delete;
    ScopedCopy& operator=(const ScopedCopy&) = delete;

    std::wstring path;
    bool copied = false;
};

// A copy of the described recorder at a path as long as an entry can be, in
// folders of up to 100 letters; removed again with the test.
class LongPath {
public:
    static constexpr std::size_t kLength = kEntryBufferSize - 1;

    explicit LongPath(const std::wstring& source)
    {
        std::wstring folder = test::OwnFolder() + L"long";
        const std::wstring name = L"\\described.exe";
        m_folders.push_back(folder);
        while (folder.size() + name.size() < kLength) {
            // Every folder takes a backslash and a letter at least.
            const std::size_t left = kLength - folder.size() - name.size();
            std::size_t letters = std::min<std::size_t>(left - 1, 100);
            letters -= left - 1 - letters == 1 ? 1 : 0;
            folder += L"\\" + std::wstring(letters, L'f');
            m_folders.push_back(folder);
        }
        for (const std::wstring& made : m_folders) {
            CreateDirectoryW(made.c_str(), nullptr);
        }
        m_path = folder + name;
        CopyFileW(source.c_str(), m_path.c_str(), FALSE);
    }
    ~LongPath()
    {
        DeleteFileW(m_path.c_str());
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder) {
            RemoveDirectoryW(folder->c_str());
        }
    }
    LongPath(const LongPath&) = delete;
    LongPath& operator=(const LongPath&) = delete;

    const std::wstring& Path() const { return m_path; }

private:
    std::vector<std::wstring> m_folders;
    std::wstring m_path;
};

TEST_F(TooltipTest, NoProgramCanCrashTheTooltipOrHideItsRealPath)
{
    // The hostile programs are made at build time; a name that reads backwards
    // and a path as long as an entry can be are made here.
    const std::wstring targets = test::OwnFolder() + L"targets\\";
    const ScopedCopy reversed(plain, targets + L"Invoice\u202egpj.exe");
    ASSERT_TRUE(reversed.copied);
    const LongPath longPath(described);
    ASSERT_EQ(longPath.Path().size(), LongPath::kLength);
    ASSERT_NE(GetFileAttributesW(longPath.Path().c_str()), INVALID_FILE_ATTRIBUTES);

    ConfigurePrograms(described, plain);
    CreateForm();
    ASSERT_TRUE(form->ProgramButtons[0]);
    const ImageControl& button = *form->ProgramButtons[0];
    Hover(button);

    std::wstring words;
    for (int i = 0; i < 19; ++i) {
        words += L"word ";
    }
    const struct {
        std::wstring path;
        std::wstring title;
        // Empty where the path is shortened to the screen's width.
        std::wstring pathLine;
    } cases[] = {
        // Version resources in the 16-bit layout, which the platform's query
        // would convert past the end of the buffer, are passed over.
        {targets + L"sixteen_short.exe", L"sixteen_short.exe", targets + L"sixteen_short.exe"},
        {targets + L"sixteen_long.exe", L"sixteen_long.exe", targets + L"sixteen_long.exe"},
        {targets + L"spoofing.exe", L"Notepad X:\\Windows\\System32\\notepad.exe x", targets + L"spoofing.exe"},
        {targets + L"wordy.exe", words + L"word\u2026", targets + L"wordy.exe"},
        {targets + L"reversing.exe", L"Invoice<U+202E>gpj.exe", targets + L"reversing.exe"},
        {reversed.path, L"Invoice<U+202E>gpj.exe", targets + L"Invoice<U+202E>gpj.exe"},
        {longPath.Path(), L"Launch recorder (German)", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        ConfigureWide(c.path, plain);
        const std::wstring text = TextOf(button);
        const std::size_t lineBreak = text.find(L"\r\n");
        ASSERT_NE(lineBreak, std::wstring::npos) << text;
        const std::wstring pathLine = text.substr(lineBreak + 2);
        if (!c.pathLine.empty()) {
            EXPECT_EQ(pathLine, c.pathLine);
        } else {
            // Shortened in its middle, keeping the drive and the file name,
            // and no wider than the screen in the tooltip's font.
            const std::size_t ellipsis = pathLine.find(L'\u2026');
            ASSERT_NE(ellipsis, std::wstring::npos) << pathLine;
            const std::wstring head = pathLine.substr(0, ellipsis);
            const std::wstring tail = pathLine.substr(ellipsis + 1);
            EXPECT_EQ(c.path.substr(0, head.size()), head);
            EXPECT_GT(head.size(), test::OwnFolder().size()) << "the folder's start is kept";
            EXPECT_EQ(c.path.substr(c.path.size() - tail.size()), tail);
            EXPECT_GT(tail.size(), std::wstring(L"\\described.exe").size()) << "the file name is kept whole";

            const HWND tooltip = Tooltips().at(0);
            const UniqueScreenDC screen(GetDC(nullptr));
            const HGDIOBJ previous =
                SelectObject(screen.get(), reinterpret_cast<HFONT>(SendMessageW(tooltip, WM_GETFONT, 0, 0)));
            SIZE extent{};
            GetTextExtentPoint32W(screen.get(), pathLine.c_str(), static_cast<int>(pathLine.size()), &extent);
            SelectObject(screen.get(), previous);
            EXPECT_LE(extent.cx, GetSystemMetrics(SM_CXSCREEN));
        }
        EXPECT_EQ(text.substr(0, lineBreak), c.title);
    }

    // Nothing was written where it should not have been: every heap is sound,
    // and the process goes on to start a recorder through the shell.
    HANDLE heaps[64];
    const DWORD heapCount = GetProcessHeaps(static_cast<DWORD>(std::size(heaps)), heaps);
    for (DWORD i = 0; i < std::min<DWORD>(heapCount, std::size(heaps)); ++i) {
        EXPECT_TRUE(HeapValidate(heaps[i], 0, nullptr)) << "heap " << i;
    }
    const std::wstring log = test::OwnFolder() + L"launches.log";
    DeleteFileW(log.c_str());
    Launch(ProgramRequest(test::Utf16(plain), ToWindowId(form->Handle())));
    EXPECT_TRUE(PumpUntil([&] { return GetFileAttributesW(log.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    DeleteFileW(log.c_str());
}

TEST_F(TooltipTest, APathLongerThanWindowsTakesIsShownButNeverLookedUp)
{
    // The environment can make an entry longer than any path Windows takes.
    test::ScopedVariables variables;
    variables.Set(L"SystemRoot", std::wstring(20000, L'r').c_str());
    ConfigurePrograms(described, plain);
    std::vector<std::u16string> lookedUp;
    form = std::make_unique<TForm1>(
        application, [this](const LaunchRequest& r) { launched.push_back(r); },
        [&lookedUp](const std::u16string& path) {
            lookedUp.push_back(path);
            return FileDescription(path);
        });
    ASSERT_TRUE(form->ProgramButtons[0]);
    Hover(*form->ProgramButtons[0]);
    ConfigurePrograms(L"%systemroot%\\%systemroot%\\tool.exe", plain);
    const std::wstring text = TextOf(*form->ProgramButtons[0]);
    const std::size_t lineBreak = text.find(L"\r\n");
    EXPECT_EQ(text.substr(0, lineBreak), L"tool.exe");
    const std::wstring pathLine = text.substr(lineBreak + 2);
    EXPECT_TRUE(pathLine.starts_with(L"rrr") && pathLine.ends_with(L"r\\tool.exe")) << pathLine;
    EXPECT_EQ(std::count(pathLine.begin(), pathLine.end(), L'\u2026'), 1);
    EXPECT_TRUE(lookedUp.empty());
}

TEST_F(TooltipTest, TheWindowAnswersAndClicksStartWhileALookupBlocks)
{
    // A lookup that blocks until the test releases it, as one of a file on a
    // stalled share does. However the test ends, it is released.
    const UniqueKernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const struct Releaser {
        HANDLE event;
        ~Releaser() { SetEvent(event); }
    } releaser{release.get()};
    ConfigurePrograms(described, plain);
    form = std::make_unique<TForm1>(
        application, [this](const LaunchRequest& r) { launched.push_back(r); },
        [event = release.get()](const std::u16string& path) {
            // Never for good: a tooltip that looked up on the window's thread
            // would hang the test.
            WaitForSingleObject(event, 10000);
            return FileDescription(path);
        });
    ASSERT_TRUE(form->ProgramButtons[0] && form->ProgramButtons[1]);
    const ImageControl& first = *form->ProgramButtons[0];
    const ImageControl& second = *form->ProgramButtons[1];
    SetWindowPos(form->Handle(), HWND_TOPMOST, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);

    // Hovered with the real pointer, the tooltip shows the file name and path.
    const std::wstring withoutDescription = L"described_recorder.exe\r\n" + described;
    PointAt(&first);
    EXPECT_TRUE(PumpUntil([&] { return Shown() == withoutDescription; })) << Shown();

    // Another thread's message is answered within a second, and a click on
    // the other button starts its program.
    std::atomic<int> answer{-1};
    std::thread probe([&answer, window = form->Handle()] {
        DWORD_PTR result = 0;
        answer = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
    });
    PumpUntil([&] { return answer >= 0; });
    probe.join();
    EXPECT_EQ(answer, 1);
    test::Click(second);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], ProgramRequest(test::Utf16(plain), ToWindowId(form->Handle())));

    // Shown again, the tooltip waits no second time; once the lookup is
    // released, the description replaces the file name while it shows.
    PointAt(nullptr);
    PumpUntil([&] { return Shown().empty(); });
    PointAt(&first);
    EXPECT_TRUE(PumpUntil([&] { return Shown() == withoutDescription; })) << Shown();
    SetEvent(release.get());
    EXPECT_TRUE(PumpUntil([&] { return Shown() == L"Launch recorder (German)\r\n" + described; })) << Shown();
    PointAt(nullptr);
}

} // namespace
} // namespace kelvory
