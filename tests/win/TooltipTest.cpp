// The buttons' tooltips on a real tooltip control: the main window created
// hidden with a recorder in place of the shell, mouse movements sent as real
// window messages, and each tool's text asked of the control itself with
// TTM_GETTEXTW, which makes the control request it from the window just as it
// does before it shows. A configured button's text comes from a lookup that
// the pointer starts when it reaches the button, and arrives as messages.
#include "ConfiguredForm.h"
#include "FixedTooltips.h"
#include "Text.h"
#include "VersionInfo.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace kelvory {
namespace {

// What the tests' lookups share with them. A lookup's thread may go on after
// the test's scope has ended, so all of it is held by shared pointers.

// The paths the lookups were asked to describe, in the order they were asked.
class DescribedPaths {
public:
    void Add(const std::u16string& path)
    {
        const std::lock_guard lock(m_mutex);
        m_paths.push_back(path);
    }
    std::vector<std::u16string> Get() const
    {
        const std::lock_guard lock(m_mutex);
        return m_paths;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::u16string> m_paths;
};

// Holds lookups up, as a stalled share does, while it is closed; never for
// more than ten seconds, so a window that waited for a lookup would show as a
// slow test rather than hang.
class Gate {
public:
    void Open() const { SetEvent(m_event.get()); }
    void Close() const { ResetEvent(m_event.get()); }
    void Pass() const { WaitForSingleObject(m_event.get(), 10000); }

private:
    UniqueKernelHandle m_event{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

// Opens the gate when the test ends, however it ends.
struct GateOpener {
    std::shared_ptr<Gate> gate;
    ~GateOpener() { gate->Open(); }
};

class TooltipTest : public test::ConfiguredFormTest {
protected:
    static void Hover(const ImageControl& button) { test::SendMouse(button, WM_MOUSEMOVE); }

    // The pointer comes onto the button from elsewhere in the window, which
    // starts the button's lookup.
    void Reach(const ImageControl& button) const
    {
        SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, 0);
        Hover(button);
    }

    // Whether the button's tooltip comes to say expected as the messages of
    // its lookup are handled.
    testing::AssertionResult Says(const ImageControl& button, const std::wstring& expected) const
    {
        std::wstring text;
        if (PumpUntil([&] { return (text = TextOf(button)) == expected; })) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "it says \"" << text << "\"";
    }

    // Handles messages until count lookups have described their programs, and
    // then once more: each lookup's last message is posted right after that.
    static bool DescribedAll(const std::atomic<int>& described, int count)
    {
        bool seen = false;
        return PumpUntil([&] { return std::exchange(seen, described >= count); });
    }

    void CreateForm(DescribeFunction describe)
    {
        form = std::make_unique<TForm1>(
            application, [this](const LaunchRequest& r) { launched.push_back(r); }, std::move(describe));
    }
    using ConfiguredFormTest::CreateForm;

    // A real description read, counted once it is read.
    static DescribeFunction CountedDescription(const std::shared_ptr<std::atomic<int>>& described)
    {
        return [described](const std::u16string& path) {
            std::u16string description = FileDescription(path);
            ++*described;
            return description;
        };
    }

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

    // Before its lookup has answered, a button tells what start-up read: the
    // file name and the path. Asking for the text waits for no lookup.
    Reach(first);
    EXPECT_EQ(TextOf(first), L"described_recorder.exe\r\n" + described);

    // The description of the first language in the translation table, or the
    // file name; the path on the second line.
    Reach(second);
    EXPECT_TRUE(Says(first, L"Launch recorder (German)\r\n" + described));
    EXPECT_TRUE(Says(second, L"recorder.exe\r\n" + plain));

    // An edit is seen when the pointer next reaches the button, placeholders
    // expanded.
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    test::ScopedVariables variables;
    variables.Set(L"SystemRoot", windows);
    ConfigurePrograms(plain, L"%SYSTEMROOT%\\no-such-program.exe");
    Reach(first);
    Reach(second);
    EXPECT_TRUE(Says(first, L"recorder.exe\r\n" + plain));
    EXPECT_TRUE(Says(second, L"no-such-program.exe\r\n" + std::wstring(windows) + L"\\no-such-program.exe"));

    // Where a click would start nothing, there is nothing to show.
    ConfigurePrograms(L"", plain);
    Reach(first);
    EXPECT_TRUE(Says(first, L""));
    DeleteFileW(ini.c_str());
    Reach(second);
    EXPECT_TRUE(Says(second, L""));
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
        const auto read = std::make_shared<std::atomic<int>>(0);
        CreateForm(CountedDescription(read));
        ASSERT_TRUE(form->ProgramButtons[0]);
        Reach(*form->ProgramButtons[0]);
        EXPECT_TRUE(DescribedAll(*read, 1));
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
    const auto read = std::make_shared<std::atomic<int>>(0);
    CreateForm(CountedDescription(read));
    ASSERT_TRUE(form->ProgramButtons[0]);
    const ImageControl& button = *form->ProgramButtons[0];
    int lookups = 0;

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
        Reach(button);
        EXPECT_TRUE(DescribedAll(*read, ++lookups));
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
            const ScopedSelection font(screen.get(), reinterpret_cast<HFONT>(SendMessageW(tooltip, WM_GETFONT, 0, 0)));
            SIZE extent{};
            GetTextExtentPoint32W(screen.get(), pathLine.c_str(), static_cast<int>(pathLine.size()), &extent);
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
    const auto asked = std::make_shared<DescribedPaths>();
    CreateForm([asked](const std::u16string& path) {
        asked->Add(path);
        return FileDescription(path);
    });
    ASSERT_TRUE(form->ProgramButtons[0] && form->ProgramButtons[1]);
    ConfigurePrograms(L"%systemroot%\\%systemroot%\\tool.exe", plain);
    Reach(*form->ProgramButtons[0]);
    std::wstring text;
    EXPECT_TRUE(PumpUntil([&] { return (text = TextOf(*form->ProgramButtons[0])).starts_with(L"tool.exe\r\n"); }))
        << text;
    const std::wstring pathLine = text.substr(text.find(L"\r\n") + 2);
    EXPECT_TRUE(pathLine.starts_with(L"rrr") && pathLine.ends_with(L"r\\tool.exe")) << pathLine;
    EXPECT_EQ(std::count(pathLine.begin(), pathLine.end(), L'\u2026'), 1);

    // The next lookup, of the other button, is the first one described.
    Reach(*form->ProgramButtons[1]);
    EXPECT_TRUE(Says(*form->ProgramButtons[1], L"recorder.exe\r\n" + plain));
    EXPECT_TRUE(PumpUntil([&] { return !asked->Get().empty(); }));
    EXPECT_EQ(asked->Get(), std::vector<std::u16string>{test::Utf16(plain)});
}

TEST_F(TooltipTest, TheWindowAnswersAndClicksStartWhileALookupBlocks)
{
    // Lookups that block while the gate is closed, as one of a file on a
    // stalled share does.
    const auto gate = std::make_shared<Gate>();
    const GateOpener opener{gate};
    const auto asked = std::make_shared<DescribedPaths>();
    const auto returned = std::make_shared<std::atomic<int>>(0);
    ConfigurePrograms(described, plain);
    CreateForm([gate, asked, returned](const std::u16string& path) {
        asked->Add(path);
        gate->Pass();
        std::u16string description = FileDescription(path);
        ++*returned;
        return description;
    });
    ASSERT_TRUE(form->ProgramButtons[0] && form->ProgramButtons[1]);
    const ImageControl& first = *form->ProgramButtons[0];
    const ImageControl& second = *form->ProgramButtons[1];
    SetWindowPos(form->Handle(), HWND_TOPMOST, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);

    // Hovered with the real pointer, the tooltip shows the file name and path
    // while its lookup blocks.
    const std::wstring withoutDescription = L"described_recorder.exe\r\n" + described;
    const std::wstring withDescription = L"Launch recorder (German)\r\n" + described;
    PointAt(&first);
    EXPECT_TRUE(PumpUntil([&] { return Shown() == withoutDescription; })) << Shown();
    EXPECT_TRUE(PumpUntil([&] { return asked->Get().size() == 1; }));

    // Other threads are answered within a second: a message that does nothing,
    // and the control's request for the text, which waits for no lookup and
    // starts none.
    const HWND window = form->Handle();
    const HWND tooltip = Tooltips().at(0);
    std::atomic<int> answered{-1};
    wchar_t text[INFOTIPSIZE] = L"(not answered)";
    std::thread probe([&] {
        DWORD_PTR result = 0;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(first.Handle());
        tool.lpszText = text;
        answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0 &&
                   SendMessageTimeoutW(tooltip, TTM_GETTEXTW, INFOTIPSIZE, reinterpret_cast<LPARAM>(&tool), SMTO_NORMAL,
                                       1000, &result) != 0;
    });
    EXPECT_TRUE(PumpUntil([&] { return answered >= 0; }));
    probe.join();
    EXPECT_EQ(answered, 1);
    EXPECT_EQ(text, withoutDescription);
    EXPECT_EQ(asked->Get().size(), 1u);

    // A click on the other button starts its program.
    test::Click(second);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], ProgramRequest(test::Utf16(plain), ToWindowId(form->Handle())));

    // Shown again, the tooltip waits for the lookup still running, and starts
    // no second one; once that is released, the description replaces the file
    // name while it shows, and the button is looked up once more for the
    // hover made meanwhile.
    PointAt(nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Shown().empty(); })) << Shown();
    PointAt(&first);
    EXPECT_TRUE(PumpUntil([&] { return Shown() == withoutDescription; })) << Shown();
    EXPECT_EQ(asked->Get().size(), 1u);
    gate->Open();
    EXPECT_TRUE(PumpUntil([&] { return Shown() == withDescription; })) << Shown();
    EXPECT_TRUE(PumpUntil([&] { return *returned == 2; }));
    EXPECT_EQ(asked->Get().size(), 2u);

    // The description is kept for the next show: it shows at once while the
    // next lookup blocks.
    PointAt(nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Shown().empty(); })) << Shown();
    gate->Close();
    PointAt(&first);
    EXPECT_TRUE(PumpUntil([&] { return asked->Get().size() == 3; }));
    EXPECT_TRUE(PumpUntil([&] { return Shown() == withDescription; })) << Shown();
    PointAt(nullptr);
}

TEST_F(TooltipTest, ALateDescriptionChangesOnlyItsOwnButtonsTooltip)
{
    // The described program's lookup blocks until the gate opens; the plain
    // one's does not.
    const auto gate = std::make_shared<Gate>();
    const GateOpener opener{gate};
    const auto ended = std::make_shared<std::atomic<int>>(0);
    ConfigurePrograms(described, plain);
    CreateForm([gate, ended, slow = test::Utf16(described)](const std::u16string& path) {
        if (path == slow) {
            gate->Pass();
        }
        std::u16string description = FileDescription(path);
        ++*ended;
        return description;
    });
    ASSERT_TRUE(form->ProgramButtons[0] && form->ProgramButtons[1]);
    const ImageControl& first = *form->ProgramButtons[0];
    const ImageControl& second = *form->ProgramButtons[1];
    SetWindowPos(form->Handle(), HWND_TOPMOST, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);

    const std::wstring secondsText = L"recorder.exe\r\n" + plain;
    PointAt(&first);
    EXPECT_TRUE(PumpUntil([&] { return Shown() == L"described_recorder.exe\r\n" + described; })) << Shown();
    PointAt(&second);
    EXPECT_TRUE(PumpUntil([&] { return Shown() == secondsText; })) << Shown();
    EXPECT_TRUE(DescribedAll(*ended, 1));

    // The first button's description arrives while the second's tooltip shows.
    gate->Open();
    EXPECT_TRUE(DescribedAll(*ended, 2));
    EXPECT_EQ(Shown(), secondsText);
    EXPECT_EQ(TextOf(first), L"Launch recorder (German)\r\n" + described);
    PointAt(nullptr);
}

TEST_F(TooltipTest, AtMostFourLookupsRunAtOnceAndClosingLeavesThemBehind)
{
    // Six copies of the described recorder, each the program of a button.
    std::vector<std::unique_ptr<ScopedCopy>> copies;
    std::string text;
    for (int n = 1; n <= 6; ++n) {
        const std::wstring name = L"copy" + std::to_wstring(n) + L".exe";
        copies.push_back(std::make_unique<ScopedCopy>(described, test::OwnFolder() + name));
        ASSERT_TRUE(copies.back()->copied);
        const std::wstring entry = L"[prog" + std::to_wstring(n) + L"]\r\nexe=" + copies.back()->path + L"\r\n";
        text += std::string(entry.begin(), entry.end());
    }
    Configure(text);

    const auto gate = std::make_shared<Gate>();
    const GateOpener opener{gate};
    const auto asked = std::make_shared<DescribedPaths>();
    const auto returned = std::make_shared<std::atomic<int>>(0);
    CreateForm([gate, asked, returned](const std::u16string& path) {
        asked->Add(path);
        gate->Pass();
        std::u16string description = FileDescription(path);
        ++*returned;
        return description;
    });
    std::vector<const ImageControl*> buttons;
    for (int n = 0; n < 6; ++n) {
        ASSERT_TRUE(form->ProgramButtons[n] && form->ProgramButtons[n]->Handle());
        buttons.push_back(form->ProgramButtons[n].get());
    }
    const auto paths = [&](std::initializer_list<int> numbers) {
        std::vector<std::u16string> list;
        for (const int n : numbers) {
            list.push_back(test::Utf16(copies[n - 1]->path));
        }
        std::sort(list.begin(), list.end());
        return list;
    };
    const auto askedSorted = [&] {
        std::vector<std::u16string> list = asked->Get();
        std::sort(list.begin(), list.end());
        return list;
    };

    // Four lookups that block; the fifth button shows what start-up read, and
    // its program is not read.
    for (int n = 0; n < 4; ++n) {
        Reach(*buttons[n]);
    }
    EXPECT_TRUE(PumpUntil([&] { return asked->Get().size() == 4; }));
    Reach(*buttons[4]);
    EXPECT_EQ(TextOf(*buttons[4]), L"copy5.exe\r\n" + copies[4]->path);

    // Released, they end; the next button reached is read, and the fifth, not
    // reached again, never was.
    gate->Open();
    EXPECT_TRUE(Says(*buttons[3], L"Launch recorder (German)\r\n" + copies[3]->path));
    Reach(*buttons[5]);
    EXPECT_TRUE(Says(*buttons[5], L"Launch recorder (German)\r\n" + copies[5]->path));
    EXPECT_EQ(askedSorted(), paths({1, 2, 3, 4, 6}));

    // Closing while four block: the window goes at once, and the lookups end
    // later without it.
    gate->Close();
    for (int n = 0; n < 4; ++n) {
        Reach(*buttons[n]);
    }
    EXPECT_TRUE(PumpUntil([&] { return asked->Get().size() == 9; }));
    const HWND window = form->Handle();
    form.reset();
    EXPECT_FALSE(IsWindow(window));
    gate->Open();
    EXPECT_TRUE(PumpUntil([&] { return *returned == 9; }));
    CreateForm();
    EXPECT_TRUE(form->ProgramButtons[0] && form->ProgramButtons[0]->Handle());
}

// The lookups on their own, announcing to message-only windows of the test.
TEST(DescriptionLookupsTest, AWindowIsBoundOnceAndNeverAgainAfterDetach)
{
    const auto messageWindow = [] {
        return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    };
    const HWND first = messageWindow();
    const HWND second = messageWindow();
    ASSERT_TRUE(first && second);
    const auto described = std::make_shared<std::atomic<int>>(0);
    DescriptionLookups lookups(
        WM_APP, [](const std::u16string& section) { return u"C:\\" + section + u".exe"; },
        [described](const std::u16string& path) {
            ++*described;
            return u"the program at " + path;
        });
    // Waits for done, for five seconds at most, leaving the messages queued.
    const auto waitUntil = [](const auto& done) {
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
            if (done()) {
                return true;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
        }
        return false;
    };
    // The lookups' messages to window, taken in as the window would.
    int announced = 0;
    const auto takeAnnounced = [&](HWND window) {
        MSG message;
        while (PeekMessageW(&message, window, WM_APP, WM_APP, PM_REMOVE)) {
            ++announced;
            lookups.Arrived(message.wParam, [](HWND) {});
        }
    };
    const HWND button = first; // any window names a button

    lookups.Bind(first);
    lookups.Bind(second);
    lookups.Start(button, u"prog1");
    // The path first, then the description.
    EXPECT_TRUE(waitUntil([&] {
        takeAnnounced(first);
        return announced == 2;
    }));
    ASSERT_TRUE(lookups.Find(button));
    EXPECT_EQ(lookups.Find(button)->path, u"C:\\prog1.exe");
    EXPECT_EQ(lookups.Find(button)->description, u"the program at C:\\prog1.exe");

    // Detached, and bound again: the next lookup is announced to neither. Its
    // last message would follow its description at once.
    lookups.Detach();
    lookups.Bind(second);
    lookups.Start(button, u"prog2");
    EXPECT_TRUE(waitUntil([&] { return *described == 2; }));
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_POSTMESSAGE);
    takeAnnounced(first);
    takeAnnounced(second);
    EXPECT_EQ(announced, 2);
    DestroyWindow(first);
    DestroyWindow(second);
}

} // namespace
} // namespace kelvory
