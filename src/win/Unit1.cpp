#include "Unit1.h"

#include "ConfigFile.h"
#include "Environment.h"
#include "Failure.h"
#include "FixedTooltips.h"
#include "IconResource.h"
#include "RowGeometry.h"
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

// A step of a configured button's tooltip lookup, finished off the window's thread.
constexpr UINT kDescriptionArrived = WM_APP;

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
    const ScopedSelection selection(screen.get(), font.get());
    SIZE extent{};
    GetTextExtentPoint32W(screen.get(), L"0", 1, &extent);
    return extent.cy;
}

// What a click on a configured button would start now: the entry read afresh
// under the button's name, which is its section, with its placeholders
// expanded. Empty when the file or the entry is gone, or the entry is empty.
// The tooltips' lookups call it on their threads too.
std::u16string ConfiguredPath(const std::u16string& section)
{
    return ExpandPathPlaceholders(ReadConfiguredEntry(ConfigFilePath(), section));
}

} // namespace

// The shell resolves the bare file names by its own search rules. "wpeutil" has
// no extension on purpose: the shell finds wpeutil.exe, or nothing outside WinPE.
// clang-format off
//                                           control         click                 name and place                                                     icon                start                           tooltip
const TForm1::FixedButton TForm1::kCommandPrompt{&TForm1::Image3, &TForm1::Image3Click, {u"Image3", FixedButtonLeft(0), kButtonTop, kButtonSize, kButtonSize}, IDI_COMMAND_PROMPT, {u"cmd.exe", std::nullopt},     kCommandPromptTooltip};
const TForm1::FixedButton TForm1::kTaskManager{  &TForm1::Image2, &TForm1::Image2Click, {u"Image2", FixedButtonLeft(1), kButtonTop, kButtonSize, kButtonSize}, IDI_TASK_MANAGER,   {u"taskmgr.exe", std::nullopt}, kTaskManagerTooltip};
const TForm1::FixedButton TForm1::kShutDown{     &TForm1::Image4, &TForm1::Image4Click, {u"Image4", FixedButtonLeft(2), kButtonTop, kButtonSize, kButtonSize}, IDI_SHUT_DOWN,      {u"wpeutil", u"shutdown"},      kShutDownTooltip};
const TForm1::FixedButton TForm1::kRestart{      &TForm1::Image6, &TForm1::Image6Click, {u"Image6", FixedButtonLeft(3), kButtonTop, kButtonSize, kButtonSize}, IDI_RESTART,        {u"wpeutil", u"reboot"},        kRestartTooltip};
// clang-format on
const TForm1::FixedButton* const TForm1::kFixedButtons[] = {&kCommandPrompt, &kTaskManager, &kShutDown, &kRestart};

TForm1::TForm1(Application& application, LaunchFunction launch, DescribeFunction describe)
    : Image3(application.Instance()), Image2(application.Instance()), Image4(application.Instance()),
      Image6(application.Instance()), m_application(application), m_launch(std::move(launch)),
      m_descriptions(kDescriptionArrived, ConfiguredPath, std::move(describe)),
      m_tooltip(
          application.Instance(), [this](HWND button, const LineFits& fits) { return TooltipText(button, fits); },
          [this](HWND button) { TooltipReached(button); }),
      m_selection([this](std::size_t place) { return RowButton(place); },
                  [this](HWND button) { button ? m_tooltip.Track(button) : m_tooltip.Untrack(); })
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

    for (const FixedButton* row : kFixedButtons) {
        ImageControl& image = this->*row->control;
        image.Name = row->layout.name;
        image.SetIcon(LoadIconResource(m_application.Instance(), row->icon));
        const Bounds bounds = layout.Place(row->layout);
        image.SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
        image.SetVisible(true);
        image.SetParent(GroupBox1);
        image.OnClick = [this, click = row->click](ImageControl& sender) { (this->*click)(sender); };
        AddTooltip(image);
    }

    m_selection.Attach(m_handle, GroupBox1);
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

const TForm1::FixedButton* TForm1::FixedButtonOf(HWND button) const
{
    for (const FixedButton* row : kFixedButtons) {
        if ((this->*row->control).Handle() == button) {
            return row;
        }
    }
    return nullptr;
}

void TForm1::LaunchFixed(const FixedButton& row)
{
    m_launch(FixedRequest(row.start, ToWindowId(m_handle)));
}

void TForm1::Image3Click(ImageControl&)
{
    LaunchFixed(kCommandPrompt);
}

void TForm1::Image2Click(ImageControl&)
{
    LaunchFixed(kTaskManager);
}

void TForm1::Image4Click(ImageControl&)
{
    LaunchFixed(kShutDown);
}

void TForm1::Image6Click(ImageControl&)
{
    LaunchFixed(kRestart);
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

    SetWidth(Width() + kButtonPitch);
    button.Name = ConfigSectionName(index + 1);
    button.SetParent(GroupBox1);
    button.SetBounds(Width() - kProgramButtonInset, kButtonTop, kButtonSize, kButtonSize);
    button.SetVisible(true);
    button.OnClick = [this](ImageControl& sender) { ProgramButtonClick(sender); };
    AddTooltip(button);
    // Until its first lookup, the button's tooltip tells what start-up read.
    m_descriptions.Know(button.Handle(), ExpandPathPlaceholders(path));
}

void TForm1::ProgramButtonClick(ImageControl& sender)
{
    // The entry is read afresh at every click, so an edited path is started as
    // it now stands.
    const std::u16string path = ConfiguredPath(sender.Name);
    if (!path.empty()) {
        m_launch(ProgramRequest(path, ToWindowId(m_handle)));
    }
}

void TForm1::AddTooltip(ImageControl& button)
{
    button.OnMouseMove = [this](ImageControl& sender, WPARAM keys, LPARAM position) {
        m_tooltip.MouseMove(sender.Handle(), keys, position);
    };
    button.OnPress = [this](ImageControl&) { m_selection.Hide(); };
}

void TForm1::TooltipReached(HWND button)
{
    // The entry and its program are read afresh whenever the pointer or the
    // selection reaches a configured button, off this thread.
    for (const auto& slot : ProgramButtons) {
        if (slot && slot->Handle() == button) {
            m_descriptions.Start(button, slot->Name);
            return;
        }
    }
}

std::u16string TForm1::TooltipText(HWND button, const LineFits& fits)
{
    if (const FixedButton* row = FixedButtonOf(button)) {
        return std::u16string(row->tooltip);
    }
    // What is known now; a lookup still running refreshes it when it ends.
    const DescriptionLookups::Known* known = m_descriptions.Find(button);
    if (!known || known->path.empty()) {
        return {};
    }
    return ProgramTooltip(known->path, known->description, fits);
}

ImageControl* TForm1::RowButton(std::size_t place)
{
    if (place < std::size(kFixedButtons)) {
        return &(this->*kFixedButtons[place]->control);
    }
    place -= std::size(kFixedButtons);
    for (const auto& slot : ProgramButtons) {
        if (slot && slot->Handle() && place-- == 0) {
            return slot.get();
        }
    }
    return nullptr;
}

LRESULT TForm1::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; HandleSessionEnd(message, wParam, result)) {
        return result;
    }
    switch (message) {
    case WM_NCCREATE:
        m_handle = window;
        m_descriptions.Bind(window);
        break;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font.get());
    case WM_NOTIFY:
        if (m_tooltip.HandleNotify(*reinterpret_cast<NMHDR*>(lParam))) {
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        // The pointer is over the window itself, on none of its buttons.
        m_tooltip.MouseMoveOutside();
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
        // The key's own time, when it was pressed, however late it is handled.
        if (m_selection.KeyDown(wParam, lParam, static_cast<TickCount>(GetMessageTime()))) {
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            m_selection.Hide();
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        m_selection.Hide();
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
