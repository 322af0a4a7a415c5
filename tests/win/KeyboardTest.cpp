// The keyboard's selection on the real main window, shown, with two configured
// programs beside the four fixed buttons and a recorder in place of the shell.
// Keys are posted as the window system queues them, stamped with their time,
// and the window paints when its queue is empty, as it does in the event
// loop. The rules themselves are the core's and tested there; here: which key
// is which, the frame on the screen, what a start starts, and that a start
// counts only once the frame has been painted for the dwell.
#include "ConfiguredForm.h"
#include "RowGeometry.h"

#include <windows.h>

namespace kelvory {
namespace {

// A key as its message comes: the virtual key, Shift held with it, and the
// auto-repeat flag of a key that was already down.
struct Key {
    WPARAM code;
    bool shift = false;
    bool repeated = false;
};

const Key kRight{VK_RIGHT}, kLeft{VK_LEFT}, kDown{VK_DOWN}, kUp{VK_UP}, kTab{VK_TAB}, kBackTab{VK_TAB, true},
    kHome{VK_HOME}, kEnd{VK_END}, kEnter{VK_RETURN}, kSpace{VK_SPACE}, kEscape{VK_ESCAPE}, kLetter{'A'};
const Key kHeldRight{VK_RIGHT, false, true}, kHeldEnter{VK_RETURN, false, true};

// Longer than the dwell by what the tick clock and the paint may be late.
constexpr DWORD kPastDwell = kStartDwell + 60;

class KeyboardTest : public test::ConfiguredFormTest {
protected:
    void SetUp() override
    {
        ConfigurePrograms(plain, described);
        NewForm();
    }

    void NewForm()
    {
        form.reset();
        launched.clear();
        CreateForm();
        ASSERT_TRUE(form->ProgramButtons[1] && form->ProgramButtons[1]->Handle());
        ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
        Pump();
    }

    // Handles every queued message, and then the paints they asked for.
    static void Pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    // Queues the keys one after the other, then lets the window handle them.
    void Press(std::initializer_list<Key> keys)
    {
        for (const Key& key : keys) {
            BYTE state[256];
            GetKeyboardState(state);
            const BYTE shift = state[VK_SHIFT];
            state[VK_SHIFT] = key.shift ? 0x80 : 0;
            SetKeyboardState(state);
            PostMessageW(form->Handle(), WM_KEYDOWN, key.code, key.repeated ? 0x40000001 : 1);
            Pump();
            state[VK_SHIFT] = shift;
            SetKeyboardState(state);
        }
    }

    // A key, and before it the time a person takes to look at the frame.
    void PressLooking(const Key& key)
    {
        Sleep(kPastDwell);
        Press({key});
    }

    // The files the recorder saw started, in order.
    std::vector<std::u16string> Started() const
    {
        std::vector<std::u16string> files;
        for (const LaunchRequest& request : launched) {
            files.push_back(request.file);
        }
        return files;
    }

    // How many pixels of the one-pixel ring around the button, where the
    // frame is drawn, differ from the button face as the screen shows it.
    int FramePixels(const ImageControl& button) const
    {
        RECT ring;
        GetWindowRect(button.Handle(), &ring);
        MapWindowPoints(nullptr, form->GroupBox1, reinterpret_cast<POINT*>(&ring), 2);
        InflateRect(&ring, kSelectionFrameInset, kSelectionFrameInset);
        const HDC dc = GetDC(form->GroupBox1);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        int differing = 0;
        for (int x = ring.left; x < ring.right; ++x) {
            for (int y = ring.top; y < ring.bottom; ++y) {
                const bool onRing = x == ring.left || x == ring.right - 1 || y == ring.top || y == ring.bottom - 1;
                differing += onRing && GetPixel(dc, x, y) != face;
            }
        }
        ReleaseDC(form->GroupBox1, dc);
        return differing;
    }
};

TEST_F(KeyboardTest, EachKeyIsItsSelectionKey)
{
    const std::u16string wpeutil = u"wpeutil";
    const std::wstring second = L"Task Manager", third = L"Shut down now", fourth = L"Restart now",
                       first = L"Command Prompt", last = L"Launch recorder (German)\r\n" + described, hidden;
    // From the third button, shown: the key, then the tooltip that shows and
    // what a look and Enter start then.
    const struct {
        const char* name;
        Key key;
        std::wstring tooltip;
    } cases[] = {
        {"Right moves on", kRight, fourth},
        {"Down moves on", kDown, fourth},
        {"Tab moves on", kTab, fourth},
        {"a held Right moves at every repeat", kHeldRight, fourth},
        {"Left moves back", kLeft, second},
        {"Up moves back", kUp, second},
        {"Shift+Tab moves back", kBackTab, second},
        {"Home goes to the first", kHome, first},
        {"End goes to the last", kEnd, last},
        {"Escape hides", kEscape, hidden},
        {"another key does nothing", kLetter, third},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NewForm();
        Press({kTab, kRight, kRight});
        ASSERT_EQ(Shown(), third);
        Press({c.key});
        EXPECT_EQ(Shown(), c.tooltip);
        EXPECT_TRUE(launched.empty());
        EXPECT_TRUE(IsWindow(form->Handle())); // Escape never closes it
    }

    // Enter and Space start the selected button; a held Enter's repeats do not.
    for (const Key& start : {kEnter, kSpace}) {
        NewForm();
        Press({kTab, kRight, kRight});
        PressLooking(start);
        PressLooking(kHeldEnter);
        EXPECT_EQ(Started(), std::vector<std::u16string>{wpeutil});
    }
}

TEST_F(KeyboardTest, TheFrameIsDrawnAroundTheSelectedButtonOnly)
{
    EXPECT_EQ(FramePixels(form->Image3), 0) << "no frame before the first key";
    Press({kTab});
    const int around = FramePixels(form->Image3);
    // A dotted line shows every other pixel of the ring's 136.
    EXPECT_GE(around, 60);
    EXPECT_EQ(FramePixels(form->Image2), 0);

    Press({kRight});
    EXPECT_EQ(FramePixels(form->Image3), 0);
    EXPECT_EQ(FramePixels(form->Image2), around);

    Press({kEscape});
    EXPECT_EQ(FramePixels(form->Image2), 0);
}

TEST_F(KeyboardTest, AStartKeyCountsOnlyOnceTheFrameHasBeenPaintedForTheDwell)
{
    // The selection left on shut down and hidden, as after a look and Escape.
    Press({kTab, kRight, kRight, kEscape});

    // A burst: both keys are queued before the window paints.
    PostMessageW(form->Handle(), WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(form->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_TRUE(launched.empty());
    EXPECT_EQ(Shown(), L"Shut down now") << "the frame stays";
    EXPECT_GT(FramePixels(form->Image4), 0);

    // Painted, but not yet on screen for the dwell: the paint came between
    // the two times around the Tab, and Enter is stamped, at the latest,
    // when its post returned. A machine too busy to post it within the dwell
    // spoils the attempt, which is made again.
    DWORD afterPaint = 0;
    bool early = false;
    for (int attempt = 0; attempt < 5 && !early; ++attempt) {
        Press({kEscape});
        const DWORD beforePaint = GetTickCount();
        Press({kTab});
        afterPaint = GetTickCount();
        Sleep(kStartDwell / 2);
        PostMessageW(form->Handle(), WM_KEYDOWN, VK_RETURN, 1);
        early = GetTickCount() - beforePaint < kStartDwell;
        Pump();
        if (!early) {
            launched.clear();
        }
    }
    ASSERT_TRUE(early) << "this machine was too busy to press Enter within the dwell";
    EXPECT_TRUE(launched.empty());

    // Once it has been, Enter starts it, once.
    if (const DWORD since = GetTickCount() - afterPaint; since < kPastDwell) {
        Sleep(kPastDwell - since);
    }
    Press({kEnter});
    ASSERT_EQ(Started(), std::vector<std::u16string>{u"wpeutil"});
    EXPECT_EQ(launched[0].parameters, u"shutdown");
}

TEST_F(KeyboardTest, AFrameNeverPaintedStartsNothing)
{
    ShowWindow(form->Handle(), SW_HIDE);
    Press({kTab});
    PressLooking(kEnter);
    EXPECT_TRUE(launched.empty());
}

TEST_F(KeyboardTest, AStartIsTheSameRequestAsAClickWithTheEntryReadAfresh)
{
    Press({kTab});
    PressLooking(kEnter);
    test::Click(form->Image3);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0], launched[1]);

    // The second configured entry now names the plain recorder. The click
    // hid the selection, so the first End only shows it again.
    ConfigurePrograms(plain, plain);
    launched.clear();
    Press({kEnd, kEnd});
    PressLooking(kEnter);
    test::Click(*form->ProgramButtons[1]);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0], ProgramRequest(test::Utf16(plain), ToWindowId(form->Handle())));
    EXPECT_EQ(launched[1], launched[0]);
}

TEST_F(KeyboardTest, AMousePressOrTheWindowsDeactivationHidesTheSelection)
{
    const auto show = [&] {
        Press({kTab});
        ASSERT_EQ(Shown(), L"Command Prompt");
    };
    show();
    test::SendMouse(form->Image4, WM_RBUTTONDOWN);
    test::SendMouse(form->Image4, WM_RBUTTONUP);
    Pump();
    EXPECT_EQ(Shown(), L"");
    EXPECT_EQ(FramePixels(form->Image3), 0);

    show();
    test::Click(form->Image2); // one start, as ever
    EXPECT_EQ(Shown(), L"");
    PressLooking(kEnter);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].file, u"taskmgr.exe");

    show();
    SendMessageW(form->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(Shown(), L"");
    PressLooking(kEnter);
    EXPECT_EQ(launched.size(), 1u);
}

TEST_F(KeyboardTest, APointerThatMovesOverAButtonShowsItsOwnTooltipAndTheSelectionStays)
{
    Press({kTab, kRight});
    ASSERT_EQ(Shown(), L"Task Manager");

    // A hover over another button takes the tooltip's place; the selection's
    // frame stays, and Enter still starts the selected button.
    test::SendMouse(form->Image6, WM_MOUSEMOVE);
    EXPECT_NE(Shown(), L"Task Manager");
    PressLooking(kEnter);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].file, u"taskmgr.exe");

    // The next navigation key shows the selected button's tooltip again.
    Press({kRight});
    EXPECT_EQ(Shown(), L"Shut down now");
}

} // namespace
} // namespace kelvory
