#include "Unit1.h"

#include "ConfigFile.h"
#include "Environment.h"
#include "Failure.h"
#include "FixedTooltips.h"
#include "IconResource.h"
#include "Shell.h"
#include "Text.h"
#include "TooltipText.h"
#include "Unit1Layout.h"
#include "VersionInfo.h"
#include "Window.h"
#include "WindowClasses.h"
#include "resource.h"

#include <commctrl.h>

#include <optional>
#include <utility>

namespace kelvory {

namespace {

constexpr DWORD kFormStyle = WS_CAPTION | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;

// A program's description for a tooltip, arrived after the tooltip showed.
constexpr UINT kDescriptionArrived = WM_APP;

// Configured buttons continue the row in plain pixels, never scaled: each one
// widens the window by a step and sits at the new outer width minus the inset,
// which with a two-pixel frame continues the fixed buttons' 48-pixel pitch.
constexpr int kProgramButtonStep = 48;
constexpr int kProgramButtonInset = 50;
constexpr int kProgramButtonTop = 16;
constexpr int kProgramButtonSize = 32;

int ScreenPixelsPerInch()
{
    const UniqueScreenDC screen(GetDC(nullptr));
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

UniqueFont CreateFormFont(int height)
{
    return UniqueFont(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                  WideText(kForm1Layout.fontName)));
}

int MeasureTextHeight(int fontHeight)
{
    UniqueFont font = CreateFormFont(fontHeight);
    const UniqueScreenDC screen(GetDC(nullptr));
    HGDIOBJ previous = SelectObject(screen.get(), font.get());
    SIZE extent{};
    GetTextExtentPoint32W(screen.get(), L"0", 1, &extent);
    SelectObject(screen.get(), previous);
    return extent.cy;
}

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

// What a click on a configured button would start now: the entry read afresh
// under the button's name, which is its section, with its placeholders
// expanded. Empty when the file or the entry is gone, or the entry is empty.
std::u16string ConfiguredPath(const ImageControl& button)
{
    return ExpandPathPlaceholders(ReadConfiguredEntry(ConfigFilePath(), button.Name));
}

} // namespace

// The shell resolves the bare file names by its own search rules. "wpeutil" has
// no extension on purpose: the shell finds wpeutil.exe, or nothing outside WinPE.
// clang-format off
const TForm1::FixedButton TForm1::kFixedButtons[] = {
    // control        click                 name and place                icon                start                           tooltip
    {&TForm1::Image3, &TForm1::Image3Click, {u"Image3", 8, 16, 32, 32},   IDI_COMMAND_PROMPT, {u"cmd.exe", std::nullopt},     kCommandPromptTooltip},
    {&TForm1::Image2, &TForm1::Image2Click, {u"Image2", 56, 16, 32, 32},  IDI_TASK_MANAGER,   {u"taskmgr.exe", std::nullopt}, kTaskManagerTooltip},
    {&TForm1::Image4, &TForm1::Image4Click, {u"Image4", 104, 16, 32, 32}, IDI_SHUT_DOWN,      {u"wpeutil", u"shutdown"},      kShutDownTooltip},
    {&TForm1::Image6, &TForm1::Image6Click, {u"Image6", 152, 16, 32, 32}, IDI_RESTART,        {u"wpeutil", u"reboot"},        kRestartTooltip},
};
// clang-format on

TForm1::TForm1(Application& application, LaunchFunction launch, DescribeFunction describe)
    : Image3(application.Instance()), Image2(application.Instance()), Image4(application.Instance()),
      Image6(application.Instance()), m_application(application), m_launch(std::move(launch)),
      m_descriptions(kDescriptionArrived, std::move(describe)),
      m_tooltip(application.Instance(), [this](HWND button, const LineFits& fits) { return TooltipText(button, fits); })
{
    LoadStoredLayout();

    // A failure escaping the creation handler is reported, and start-up goes on
    // with whatever buttons were added before it.
    try {
        FormCreate();
    } catch (...) {
        m_application.ShowFailure(std::current_exception());
    }
}

TForm1::~TForm1()
{
    if (m_handle) {
        DestroyWindow(m_handle);
    }
}

void TForm1::LoadStoredLayout()
{
    const ScaledLayout layout = ScaleLayout(kForm1Layout, ScreenPixelsPerInch(), MeasureTextHeight);
    m_font = CreateFormFont(layout.fontHeight);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProcStub<TForm1>;
    windowClass.hInstance = m_application.Instance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kFormClass;
    RegisterWindowClass(windowClass);

    // Owned by the application window, so the tool window has no taskbar button
    // of its own. Created hidden; it is positioned when first shown.
    CreateWindowExW(kFormExStyle, kFormClass, WideText(kForm1Layout.caption), kFormStyle, 0, 0, layout.clientWidth,
                    layout.clientHeight, m_application.Handle(), nullptr, m_application.Instance(), this);
    if (!m_handle) {
        throw Failure("The main window could not be created");
    }
    SetClientSize(layout.clientWidth, layout.clientHeight);

    const Bounds box = layout.Place(kGroupBox1Layout);
    GroupBox1 = CreateWindowExW(WS_EX_CONTROLPARENT, WC_BUTTONW, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_GROUPBOX, box.left,
                                box.top, box.width, box.height, m_handle, nullptr, m_application.Instance(), nullptr);
    SendMessageW(GroupBox1, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
    SetWindowSubclass(GroupBox1, GroupBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));

    for (const FixedButton& row : kFixedButtons) {
        ImageControl& image = this->*row.control;
        image.Name = row.layout.name;
        image.SetIcon(LoadIconResource(m_application.Instance(), row.icon));
        const Bounds bounds = layout.Place(row.layout);
        image.SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
        image.SetVisible(true);
        image.SetParent(GroupBox1);
        image.OnClick = [this, click = row.click](ImageControl& sender) { (this->*click)(sender); };
        AddTooltip(image);
    }

    // The window system's focus cues start hidden too, whatever the last input was.
    SendMessageW(m_handle, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
}

void TForm1::SetClientSize(int width, int height)
{
    RECT window;
    RECT client;
    GetWindowRect(m_handle, &window);
    GetClientRect(m_handle, &client);
    const int frameWidth = (window.right - window.left) - client.right;
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    SetWindowPos(m_handle, nullptr, 0, 0, width + frameWidth, height + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TForm1::Width() const
{
    RECT window;
    GetWindowRect(m_handle, &window);
    return window.right - window.left;
}

void TForm1::SetWidth(int width)
{
    RECT window;
    GetWindowRect(m_handle, &window);
    SetWindowPos(m_handle, nullptr, 0, 0, width, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const TForm1::FixedButton* TForm1::FixedButtonOf(const ImageControl& control) const
{
    for (const FixedButton& row : kFixedButtons) {
        if (&(this->*row.control) == &control) {
            return &row;
        }
    }
    return nullptr;
}

const TForm1::FixedButton* TForm1::FixedButtonOf(HWND button) const
{
    for (const FixedButton& row : kFixedButtons) {
        if ((this->*row.control).Handle() == button) {
            return &row;
        }
    }
    return nullptr;
}

void TForm1::LaunchFixed(const ImageControl& control)
{
    if (const FixedButton* row = FixedButtonOf(control)) {
        m_launch(FixedRequest(row->start, ToWindowId(m_handle)));
    }
}

void TForm1::Image3Click(ImageControl&)
{
    LaunchFixed(Image3);
}

void TForm1::Image2Click(ImageControl&)
{
    LaunchFixed(Image2);
}

void TForm1::Image4Click(ImageControl&)
{
    LaunchFixed(Image4);
}

void TForm1::Image6Click(ImageControl&)
{
    LaunchFixed(Image6);
}

void TForm1::FormCreate()
{
    ForEachConfiguredEntry(ConfigFilePath(),
                           [this](int number, const std::u16string& value) { AddProgramButton(value, number - 1); });
}

void TForm1::AddProgramButton(const std::u16string& path, int index)
{
    auto& slot = ProgramButtons.at(static_cast<std::size_t>(index));
    slot = std::make_unique<ImageControl>(m_application.Instance());
    ImageControl& button = *slot;

    // The icon comes from the path exactly as configured, placeholders and all;
    // only the start expands them. The application window's handle stands in
    // for the instance, which the extraction does not use. An icon directory
    // that would lead the extraction past its file gives no icon.
    button.SetIcon(ExtractProgramIcon(reinterpret_cast<HINSTANCE>(m_application.Handle()), WideText(path)));
    if (!button.Icon()) {
        // No icon, no button: the control stays in its slot, unplaced and unseen,
        // and the next configured button takes this place in the row.
        return;
    }

    SetWidth(Width() + kProgramButtonStep);
    button.Name = ConfigSectionName(index + 1);
    button.SetParent(GroupBox1);
    button.SetBounds(Width() - kProgramButtonInset, kProgramButtonTop, kProgramButtonSize, kProgramButtonSize);
    button.SetVisible(true);
    button.OnClick = [this](ImageControl& sender) { ProgramButtonClick(sender); };
    AddTooltip(button);
}

void TForm1::ProgramButtonClick(ImageControl& sender)
{
    // The entry is read afresh at every click, so an edited path is started as
    // it now stands.
    const std::u16string path = ConfiguredPath(sender);
    if (!path.empty()) {
        m_launch(ProgramRequest(path, ToWindowId(m_handle)));
    }
}

void TForm1::AddTooltip(ImageControl& button)
{
    button.OnMouseMove = [this](ImageControl& sender, WPARAM keys, LPARAM position) {
        m_tooltip.MouseMove(sender.Handle(), keys, position);
    };
    button.OnPress = [this](ImageControl&) { ShowSelection(false); };
}

std::u16string TForm1::TooltipText(HWND button, const LineFits& fits)
{
    if (const FixedButton* row = FixedButtonOf(button)) {
        return std::u16string(row->tooltip);
    }
    for (const auto& slot : ProgramButtons) {
        if (slot && slot->Handle() == button) {
            // Read at every showing, exactly as a click reads it. The program's
            // own file is read off this thread.
            const std::u16string path = ConfiguredPath(*slot);
            if (path.empty()) {
                return {};
            }
            return ProgramTooltip(path, m_descriptions.Describe(m_handle, button, path), fits);
        }
    }
    return {};
}

std::vector<ImageControl*> TForm1::RowButtons()
{
    std::vector<ImageControl*> buttons;
    for (const FixedButton& row : kFixedButtons) {
        buttons.push_back(&(this->*row.control));
    }
    for (const auto& slot : ProgramButtons) {
        if (slot && slot->Handle()) {
            buttons.push_back(slot.get());
        }
    }
    return buttons;
}

void TForm1::ShowSelection(bool shown)
{
    if (shown == m_selectionShown) {
        return;
    }
    m_selectionShown = shown;
    InvalidateSelectionFrame();
    if (!shown) {
        m_tooltip.Untrack();
    }
    // The window system's own focus cues follow, for every window of the tree.
    SendMessageW(m_handle, WM_CHANGEUISTATE, MAKEWPARAM(shown ? UIS_CLEAR : UIS_SET, UISF_HIDEFOCUS), 0);
}

void TForm1::PressKey(SelectionKey key, bool repeated)
{
    const std::vector<ImageControl*> buttons = RowButtons();
    const Selection before{m_selected, m_selectionShown};
    const SelectionStep step = PressSelectionKey(before, key, repeated, buttons.size());
    if (step.selection.selected != before.selected) {
        InvalidateSelectionFrame();
        m_selected = step.selection.selected;
        InvalidateSelectionFrame();
    }
    ShowSelection(step.selection.shown);
    if (step.selection.shown) {
        // The selected button's tooltip goes with the frame, also after a hover
        // took its place.
        m_tooltip.Track(buttons[m_selected]->Handle());
    }
    if (step.start) {
        // Exactly what a click on the button does.
        buttons[m_selected]->Click();
    }
}

RECT TForm1::SelectionFrame()
{
    const std::vector<ImageControl*> buttons = RowButtons();
    RECT frame{};
    if (m_selected >= buttons.size() || !buttons[m_selected]->Handle()) {
        return frame;
    }
    GetWindowRect(buttons[m_selected]->Handle(), &frame);
    MapWindowPoints(nullptr, GroupBox1, reinterpret_cast<POINT*>(&frame), 2);
    InflateRect(&frame, 2, 2);
    return frame;
}

void TForm1::InvalidateSelectionFrame()
{
    const RECT frame = SelectionFrame();
    InvalidateRect(GroupBox1, &frame, TRUE);
}

// The group box lets the window beneath show through its inside, but the main
// window clips its children, so nothing would paint there: fill it ourselves.
// While the keyboard's selection is shown, its frame is drawn here too, around
// the selected button: the group box is the buttons' parent, so the frame
// changes no control.
LRESULT CALLBACK TForm1::GroupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR form) noexcept
{
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    TForm1& self = *reinterpret_cast<TForm1*>(form);
    if (message == WM_PAINT && self.m_selectionShown) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        DefSubclassProc(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        const RECT frame = self.SelectionFrame();
        DrawFocusRect(dc, &frame);
        EndPaint(window, &paint);
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT TForm1::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; HandleSessionEnd(message, wParam, result)) {
        return result;
    }
    switch (message) {
    case WM_NCCREATE:
        m_handle = window;
        break;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font.get());
    case WM_NOTIFY:
        if (m_tooltip.HandleNotify(*reinterpret_cast<NMHDR*>(lParam))) {
            return 0;
        }
        break;
    case kDescriptionArrived:
        m_descriptions.Arrived(wParam, [this](HWND button) { m_tooltip.Refresh(button); });
        return 0;
    case WM_SIZE:
        // The group box fills the client area, so it grows with every added button.
        if (GroupBox1) {
            MoveWindow(GroupBox1, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        }
        return 0;
    case WM_KEYDOWN:
        if (const std::optional<SelectionKey> key = SelectionKeyOf(wParam)) {
            PressKey(*key, (lParam & kKeyWasDown) != 0);
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            ShowSelection(false);
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        ShowSelection(false);
        break;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (m_application.MainWindow() == window) {
            PostQuitMessage(0);
        }
        return 0;
    case WM_NCDESTROY:
        m_descriptions.Detach();
        m_handle = nullptr;
        GroupBox1 = nullptr;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace kelvory
