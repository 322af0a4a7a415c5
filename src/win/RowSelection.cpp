#include "RowSelection.h"

#include "RowGeometry.h"
#include "Window.h"

#include <commctrl.h>

#include <optional>
#include <utility>

namespace kelvory {

namespace {

// The keys that move, show, hide or use the keyboard's selection.
std::optional<SelectionKey> SelectionKeyOf(WPARAM key)
{
    switch (key) {
    case VK_RIGHT:
    case VK_DOWN:
        return SelectionKey::Next;
    case VK_LEFT:
    case VK_UP:
        return SelectionKey::Previous;
    case VK_TAB:
        return GetKeyState(VK_SHIFT) < 0 ? SelectionKey::Previous : SelectionKey::Next;
    case VK_HOME:
        return SelectionKey::First;
    case VK_END:
        return SelectionKey::Last;
    case VK_RETURN:
    case VK_SPACE:
        return SelectionKey::Start;
    case VK_ESCAPE:
        return SelectionKey::Hide;
    default:
        return std::nullopt;
    }
}

// The key message's flag for a key that was already down: the keyboard's
// auto-repeat.
constexpr LPARAM kKeyWasDown = 1 << 30;

} // namespace

RowSelection::RowSelection(ButtonAtFunction buttonAt, SelectedFunction selected)
    : m_buttonAt(std::move(buttonAt)), m_selectedChanged(std::move(selected))
{
}

void RowSelection::Attach(HWND form, HWND groupBox)
{
    m_form = form;
    m_groupBox = groupBox;
    SetWindowSubclass(groupBox, SubclassProcStub<RowSelection>, 0, reinterpret_cast<DWORD_PTR>(this));
    // The window system's focus cues start hidden too, whatever the last input was.
    SendMessageW(m_form, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
}

std::size_t RowSelection::ButtonCount() const
{
    std::size_t count = 0;
    while (m_buttonAt(count)) {
        ++count;
    }
    return count;
}

bool RowSelection::KeyDown(WPARAM keyCode, LPARAM flags, TickCount time)
{
    const std::optional<SelectionKey> key = SelectionKeyOf(keyCode);
    if (!key) {
        return false;
    }
    Press(*key, (flags & kKeyWasDown) != 0, time);
    return true;
}

void RowSelection::Hide()
{
    // As Escape hides it; the time does not matter for hiding.
    Press(SelectionKey::Hide, false, 0);
}

void RowSelection::Press(SelectionKey key, bool repeated, TickCount time)
{
    const SelectionStep step = PressSelectionKey(m_selection, key, repeated, ButtonCount(), time);
    if (step.selection.selected != m_selection.selected) {
        InvalidateFrame();
        m_selection.selected = step.selection.selected;
        InvalidateFrame();
    }
    Show(step.selection.shown);
    m_selection.framePainted = step.selection.framePainted;
    ImageControl* button = m_buttonAt(m_selection.selected);
    if (step.selection.shown) {
        // The selected button's tooltip goes with the frame, also after a hover
        // took its place.
        m_selectedChanged(button->Handle());
    }
    if (step.start) {
        // Exactly what a click on the button does.
        button->Click();
    }
}

void RowSelection::Show(bool shown)
{
    if (shown == m_selection.shown) {
        return;
    }
    m_selection.shown = shown;
    InvalidateFrame();
    if (!shown) {
        m_selectedChanged(nullptr);
    }
    // The window system's own focus cues follow, for every window of the tree.
    SendMessageW(m_form, WM_CHANGEUISTATE, MAKEWPARAM(shown ? UIS_CLEAR : UIS_SET, UISF_HIDEFOCUS), 0);
}

RECT RowSelection::Frame() const
{
    RECT frame{};
    const ImageControl* button = m_buttonAt(m_selection.selected);
    if (!button || !button->Handle()) {
        return frame;
    }
    GetWindowRect(button->Handle(), &frame);
    MapWindowPoints(nullptr, m_groupBox, reinterpret_cast<POINT*>(&frame), 2);
    InflateRect(&frame, kSelectionFrameInset, kSelectionFrameInset);
    return frame;
}

void RowSelection::InvalidateFrame() const
{
    if (!m_groupBox) {
        return;
    }
    const RECT frame = Frame();
    InvalidateRect(m_groupBox, &frame, TRUE);
}

// The group box lets the window beneath show through its inside, but the main
// window clips its children, so nothing would paint there: fill it ourselves.
// While the selection is shown, its frame is drawn here too, around the
// selected button: the group box is the buttons' parent, so the frame changes
// no control.
LRESULT RowSelection::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_PAINT:
        if (m_selection.shown) {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            DefSubclassProc(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
            const RECT frame = Frame();
            DrawFocusRect(dc, &frame);
            // The frame has been drawn on screen now, when the whole of it was
            // painted: not when it was asked for, which may be long before
            // the window gets to paint.
            RECT painted;
            if (IntersectRect(&painted, &frame, &paint.rcPaint) && EqualRect(&painted, &frame)) {
                m_selection = FramePainted(m_selection, GetTickCount());
            }
            EndPaint(window, &paint);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        m_groupBox = nullptr;
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace kelvory
