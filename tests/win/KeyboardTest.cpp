// The keyboard's selection on the real main window: created hidden with two
// configured programs beside the four fixed buttons and a recorder in place of
// the shell, driven by key messages as the window system delivers them. The
// selected button's tooltip, tracked beside it, tells which one is selected.
#include "ConfiguredForm.h"
#include "FixedTooltips.h"

#include <windows.h>

namespace kelvory {
namespace {

class KeyboardTest : public test::ConfiguredFormTest {
protected:
    void SetUp() override
    {
        ConfigurePrograms(plain, described);
        CreateForm();
        ASSERT_TRUE(form->ProgramButtons[0] && form->ProgramButtons[0]->Handle());
        ASSERT_TRUE(form->ProgramButtons[1] && form->ProgramButtons[1]->Handle());
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
};

// A key as its message comes: the virtual key, Shift held with it, and the
// auto-repeat flag of a key that was already down.
struct Key {
    WPARAM code;
    bool shift = false;
    bool repeated = false;
};

void Press(HWND window, const Key& key)
{
    BYTE state[256];
    GetKeyboardState(state);
    const BYTE shift = state[VK_SHIFT];
    state[VK_SHIFT] = key.shift ? 0x80 : 0;
    SetKeyboardState(state);
    SendMessageW(window, WM_KEYDOWN, key.code, key.repeated ? 0x40000001 : 1);
    state[VK_SHIFT] = shift;
    SetKeyboardState(state);
}

TEST_F(KeyboardTest, KeysMoveTheSelectionAndStartWhatAClickWould)
{
    const Key right{VK_RIGHT}, left{VK_LEFT}, down{VK_DOWN}, up{VK_UP}, tab{VK_TAB}, backTab{VK_TAB, true},
        home{VK_HOME}, end{VK_END}, enter{VK_RETURN}, space{VK_SPACE}, escape{VK_ESCAPE};
    const Key heldRight{VK_RIGHT, false, true}, heldEnter{VK_RETURN, false, true};
    const std::u16string cmd = u"cmd.exe", taskmgr = u"taskmgr.exe", wpeutil = u"wpeutil";
    const std::u16string prog1 = test::Utf16(plain), prog2 = test::Utf16(described);
    // The tooltips of the selected buttons, shown beside them; none while hidden.
    const std::wstring first = test::Wide(kCommandPromptTooltip), second = test::Wide(kTaskManagerTooltip),
                       third = test::Wide(kShutDownTooltip), fourth = test::Wide(kRestartTooltip),
                       fifth = L"recorder.exe\r\n" + plain, last = L"Launch recorder (German)\r\n" + described, hidden;

    // Each row starts from a new window: the selection on the first button, hidden.
    const struct {
        const char* name;
        std::vector<Key> keys;
        std::wstring tooltip;
        std::vector<std::u16string> started;
    } cases[] = {
        {"Enter and Space start nothing while hidden", {enter, space}, hidden, {}},
        {"the first key only shows the selection", {right}, first, {}},
        {"and then it moves", {right, right}, second, {}},
        {"Enter starts the selected button", {right, enter}, first, {cmd}},
        {"Tab moves on", {tab, tab, enter}, second, {taskmgr}},
        {"Down moves on, Space starts", {down, down, down, space}, third, {wpeutil}},
        {"Left wraps to the last configured button", {left, left, enter}, last, {prog2}},
        {"Shift+Tab moves back", {tab, tab, tab, backTab, enter}, second, {taskmgr}},
        {"Up moves back", {up, up, up}, fifth, {}},
        {"Right wraps to the first", {end, end, right, enter}, first, {cmd}},
        {"End and Home", {home, end, enter, home, enter}, first, {prog2, cmd}},
        {"a held arrow moves at every repeat", {right, heldRight, heldRight, heldRight, enter}, fourth, {wpeutil}},
        {"a held Enter starts once", {tab, enter, heldEnter, heldEnter}, first, {cmd}},
        {"Escape hides, and Enter starts nothing", {tab, right, escape, enter}, hidden, {}},
        {"the next key shows it where it was", {tab, right, escape, tab, enter}, second, {taskmgr}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        launched.clear();
        CreateForm();
        for (const Key& key : c.keys) {
            Press(form->Handle(), key);
        }
        EXPECT_EQ(Shown(), c.tooltip);
        EXPECT_EQ(Started(), c.started);
        EXPECT_TRUE(IsWindow(form->Handle())); // Escape never closes it
    }
}

TEST_F(KeyboardTest, AStartIsTheSameRequestAsAClickWithTheEntryReadAfresh)
{
    Press(form->Handle(), {VK_TAB});
    Press(form->Handle(), {VK_RETURN});
    test::Click(form->Image3);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0], launched[1]);

    // The second configured entry now names the plain recorder. The click
    // hid the selection, so the first End only shows it again.
    ConfigurePrograms(plain, plain);
    launched.clear();
    Press(form->Handle(), {VK_END});
    Press(form->Handle(), {VK_END});
    Press(form->Handle(), {VK_RETURN});
    test::Click(*form->ProgramButtons[1]);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[0], ProgramRequest(test::Utf16(plain), ToWindowId(form->Handle())));
    EXPECT_EQ(launched[1], launched[0]);
}

TEST_F(KeyboardTest, AMousePressOrTheWindowsDeactivationHidesTheSelection)
{
    const auto show = [&] {
        Press(form->Handle(), {VK_TAB});
        ASSERT_EQ(Shown(), test::Wide(kCommandPromptTooltip));
    };
    show();
    test::SendMouse(form->Image4, WM_RBUTTONDOWN);
    test::SendMouse(form->Image4, WM_RBUTTONUP);
    EXPECT_EQ(Shown(), L"");

    show();
    test::Click(form->Image2); // one start, as ever
    EXPECT_EQ(Shown(), L"");
    Press(form->Handle(), {VK_RETURN});
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].file, u"taskmgr.exe");

    show();
    SendMessageW(form->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(Shown(), L"");
    Press(form->Handle(), {VK_RETURN});
    EXPECT_EQ(launched.size(), 1u);
}

TEST_F(KeyboardTest, APointerThatMovesOverAButtonShowsItsOwnTooltipAndTheSelectionStays)
{
    Press(form->Handle(), {VK_TAB});
    Press(form->Handle(), {VK_RIGHT});
    ASSERT_EQ(Shown(), test::Wide(kTaskManagerTooltip));

    // A hover over another button takes the tooltip's place; the selection's
    // frame stays, and Enter still starts the selected button.
    test::SendMouse(form->Image6, WM_MOUSEMOVE);
    EXPECT_NE(Shown(), test::Wide(kTaskManagerTooltip));
    Press(form->Handle(), {VK_RETURN});
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].file, u"taskmgr.exe");

    // The next navigation key shows the selected button's tooltip again.
    Press(form->Handle(), {VK_RIGHT});
    EXPECT_EQ(Shown(), test::Wide(kShutDownTooltip));
}

} // namespace
} // namespace kelvory
