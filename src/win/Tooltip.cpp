#include "Tooltip.h"

#include "RowGeometry.h"
#include "Text.h"
#include "UniqueHandle.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace kelvory {

static_assert(kTooltipTextSize == INFOTIPSIZE);

namespace {

// The control's frame and margins on either side of its text, where the
// control cannot say how wide they are: Wine's answers no TTM_ADJUSTRECT.
constexpr int kFrameAllowance = 8;

TTTOOLINFOW ToolInfo(HWND tool)
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetAncestor(tool, GA_ROOT);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = LPSTR_TEXTCALLBACKW;
    return info;
}

// The tracking tool's identifier: no window has it, so it never clashes with
// the buttons' tools, whose identifiers are their windows.
constexpr UINT_PTR kTrackingTool = 1;

// The one tool that shows the selected button's tooltip where it is put.
TTTOOLINFOW TrackingToolInfo(HWND owner)
{
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    info.hwnd = owner;
    info.uId = kTrackingTool;
    info.lpszText = LPSTR_TEXTCALLBACKW;
    return info;
}

} // namespace

Tooltip::Tooltip(HINSTANCE instance, TextFunction text, ReachFunction reached)
    : m_instance(instance), m_text(std::move(text)), m_reached(std::move(reached))
{
}

void Tooltip::Create(HWND owner)
{
    // The tooltip class is registered here, not at start-up.
    const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);

    // A pop-up owned by the main window, never activated. It shows whether or
    // not the launcher is the active window, and an ampersand in a path is
    // shown as written.
    m_handle = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, owner, nullptr, m_instance, nullptr);
}

bool Tooltip::Created(HWND owner)
{
    // A control that cannot be made is not tried again at every movement: the
    // buttons simply have no tooltips.
    if (!m_handle && !std::exchange(m_tried, true)) {
        Create(owner);
    }
    return m_handle != nullptr;
}

void Tooltip::MouseMove(HWND tool, WPARAM keys, LPARAM position)
{
    if (m_tracked) {
        POINT pointer{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
        ClientToScreen(tool, &pointer);
        if (pointer.x != m_pointerAtTrack.x || pointer.y != m_pointerAtTrack.y) {
            Untrack();
        }
    }
    if (tool != m_hovered) {
        m_hovered = tool;
        m_reached(tool);
    }
    if (!Created(GetAncestor(tool, GA_ROOT))) {
        return;
    }
    if (std::find(m_tools.begin(), m_tools.end(), tool) != m_tools.end()) {
        return;
    }

    TTTOOLINFOW info = ToolInfo(tool);
    if (!SendMessageW(m_handle, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
        return;
    }
    m_tools.push_back(tool);

    const DWORD screenPosition = GetMessagePos();
    MSG message{tool, WM_MOUSEMOVE, keys, position, static_cast<DWORD>(GetMessageTime()),
                {static_cast<short>(LOWORD(screenPosition)), static_cast<short>(HIWORD(screenPosition))}};
    SendMessageW(m_handle, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

void Tooltip::MouseMoveOutside()
{
    m_hovered = nullptr;
}

bool Tooltip::HandleNotify(NMHDR& header)
{
    if (!m_handle || header.hwndFrom != m_handle) {
        return false;
    }
    if (header.code == TTN_POP && header.idFrom != kTrackingTool) {
        // Gone after a click or its time: the next movement reaches the tool anew.
        m_hovered = nullptr;
        return true;
    }
    if (header.code != TTN_GETDISPINFOW) {
        return false;
    }
    auto& request = reinterpret_cast<NMTTDISPINFOW&>(header);
    const auto tool = header.idFrom == kTrackingTool ? m_tracked : reinterpret_cast<HWND>(header.idFrom);

    // Lines are measured in the control's own font against the screen's width,
    // and the control breaks none that fits.
    const int width = LineWidth(tool);
    SendMessageW(m_handle, TTM_SETMAXTIPWIDTH, 0, width);
    const UniqueScreenDC screen(GetDC(nullptr));
    const ScopedSelection font(screen.get(), reinterpret_cast<HFONT>(SendMessageW(m_handle, WM_GETFONT, 0, 0)));
    const LineFits fits = [&](std::u16string_view line) {
        SIZE extent{};
        GetTextExtentPoint32W(screen.get(), reinterpret_cast<const wchar_t*>(line.data()), static_cast<int>(line.size()),
                              &extent);
        return extent.cx <= width;
    };
    m_shown = m_text(tool, fits);
    request.hinst = nullptr;
    request.lpszText = WideBuffer(m_shown);
    return true;
}

int Tooltip::LineWidth(HWND tool) const
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(tool, MONITOR_DEFAULTTONEAREST), &monitor)) {
        monitor.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), 0};
    }
    RECT text = monitor.rcMonitor;
    if (!SendMessageW(m_handle, TTM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&text))) {
        InflateRect(&text, -kFrameAllowance, 0);
    }
    return std::max<int>(text.right - text.left, 0);
}

bool Tooltip::Shows(HWND tool) const
{
    if (!m_handle || !IsWindowVisible(m_handle)) {
        return false;
    }
    if (m_tracked) {
        return m_tracked == tool;
    }
    wchar_t text[INFOTIPSIZE] = L"";
    TTTOOLINFOW current{};
    current.cbSize = sizeof(current);
    current.lpszText = text;
    return SendMessageW(m_handle, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)) &&
           current.uId == reinterpret_cast<UINT_PTR>(tool);
}

void Tooltip::Refresh(HWND tool)
{
    if (!Shows(tool)) {
        return;
    }
    // A tracked tooltip asks again when it is put in its place, which also
    // keeps its new width on the screen.
    if (m_tracked) {
        Track(tool);
        return;
    }
    // Setting a callback text again makes the control ask for it and show it
    // at once; TTM_UPDATE redraws the tool where a control wants that too.
    TTTOOLINFOW info = ToolInfo(tool);
    SendMessageW(m_handle, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(m_handle, TTM_UPDATE, 0, 0);
}

void Tooltip::Track(HWND tool)
{
    const HWND owner = GetAncestor(tool, GA_ROOT);
    if (!Created(owner)) {
        return;
    }
    TTTOOLINFOW info = TrackingToolInfo(owner);
    if (!m_trackingAdded) {
        m_trackingAdded = SendMessageW(m_handle, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
        if (!m_trackingAdded) {
            return;
        }
    }
    const bool moving = m_tracked != nullptr;
    if (tool != std::exchange(m_tracked, tool)) {
        GetCursorPos(&m_pointerAtTrack);
        m_reached(tool);
    }

    // Below the button's frame, moved left where the screen ends.
    RECT button;
    GetWindowRect(tool, &button);
    POINT where{button.left - kSelectionFrameInset, button.bottom + 4};
    SendMessageW(m_handle, TTM_TRACKPOSITION, 0, MAKELPARAM(where.x, where.y));
    if (moving) {
        SendMessageW(m_handle, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    } else {
        SendMessageW(m_handle, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    }
    RECT tip;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetWindowRect(m_handle, &tip) && GetMonitorInfoW(MonitorFromWindow(tool, MONITOR_DEFAULTTONEAREST), &monitor) &&
        tip.right > monitor.rcWork.right) {
        where.x = std::max<LONG>(monitor.rcWork.left, where.x - (tip.right - monitor.rcWork.right));
        SendMessageW(m_handle, TTM_TRACKPOSITION, 0, MAKELPARAM(where.x, where.y));
    }
}

void Tooltip::Untrack()
{
    if (!m_tracked) {
        return;
    }
    m_tracked = nullptr;
    TTTOOLINFOW info = TrackingToolInfo(GetWindow(m_handle, GW_OWNER));
    SendMessageW(m_handle, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
}

} // namespace kelvory
