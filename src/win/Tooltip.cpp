#include "Tooltip.h"

#include "Text.h"
#include "TooltipText.h"

#include <algorithm>
#include <utility>

namespace kelvory {

static_assert(kTooltipTextSize == INFOTIPSIZE);

Tooltip::Tooltip(HINSTANCE instance, TextFunction text) : m_instance(instance), m_text(std::move(text)) {}

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
    if (m_handle) {
        // The control breaks lines only once it has a width to keep to; the
        // screen's width keeps a long path on one line wherever it fits.
        SendMessageW(m_handle, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN));
    }
}

void Tooltip::MouseMove(HWND tool, WPARAM keys, LPARAM position)
{
    const HWND owner = GetAncestor(tool, GA_ROOT);
    if (!m_handle) {
        // A control that cannot be made is not tried again at every movement:
        // the buttons simply have no tooltips.
        if (std::exchange(m_tried, true)) {
            return;
        }
        Create(owner);
        if (!m_handle) {
            return;
        }
    }
    if (std::find(m_tools.begin(), m_tools.end(), tool) != m_tools.end()) {
        return;
    }

    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = LPSTR_TEXTCALLBACKW;
    if (!SendMessageW(m_handle, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
        return;
    }
    m_tools.push_back(tool);

    const DWORD screenPosition = GetMessagePos();
    MSG message{tool, WM_MOUSEMOVE, keys, position, static_cast<DWORD>(GetMessageTime()),
                {static_cast<short>(LOWORD(screenPosition)), static_cast<short>(HIWORD(screenPosition))}};
    SendMessageW(m_handle, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

bool Tooltip::HandleNotify(NMHDR& header)
{
    if (!m_handle || header.hwndFrom != m_handle || header.code != TTN_GETDISPINFOW) {
        return false;
    }
    auto& request = reinterpret_cast<NMTTDISPINFOW&>(header);
    m_shown = m_text(reinterpret_cast<HWND>(header.idFrom));
    request.hinst = nullptr;
    request.lpszText = WideBuffer(m_shown);
    return true;
}

} // namespace kelvory
