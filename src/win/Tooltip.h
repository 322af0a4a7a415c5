#pragma once
// The buttons' tooltip: one tooltip control, made at the first mouse movement
// over a button or the first key of the keyboard's selection, so that start-up
// never pays for it. The control asks for its text each time it is about to
// show, and asks again when a tool's text is refreshed while it shows. Besides
// the hover tooltips it shows the selected button's tooltip beside it, as a
// tracking tooltip. It says when the pointer or the selection reaches a tool,
// a moment before the tool's tooltip shows, so that its text can be made ready.
#include "TooltipText.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace kelvory {

class Tooltip {
public:
    // The text for a tool, each line of it fitting as fits says; an empty text
    // shows no tooltip.
    using TextFunction = std::function<std::u16string(HWND tool, const LineFits& fits)>;
    // The pointer or the selection has reached tool.
    using ReachFunction = std::function<void(HWND tool)>;

    Tooltip(HINSTANCE instance, TextFunction text, ReachFunction reached);
    Tooltip(const Tooltip&) = delete;
    Tooltip& operator=(const Tooltip&) = delete;

    // A mouse movement over tool, with the message's keys and position. The
    // first one makes the control; each tool is added at its first movement,
    // which is handed on at once so that a pointer resting where it came in
    // still gets its tooltip. Later movements and clicks reach the control
    // through its own subclass of the tool. Once the pointer has really moved,
    // its hover takes the place of a tracked tooltip. The first movement over a
    // tool since the pointer came from elsewhere, or since its tooltip went,
    // reaches it.
    void MouseMove(HWND tool, WPARAM keys, LPARAM position);
    // A mouse movement over the tools' window outside every tool.
    void MouseMoveOutside();

    // Answers the control's request for a tool's text, and takes note of a
    // hover tooltip going; both come to the tools' top-level window. False for
    // any other notification.
    bool HandleNotify(NMHDR& header);

    // Whether the tooltip of tool shows now, hovered or tracked.
    bool Shows(HWND tool) const;

    // Shows tool's tooltip beside it, on the screen, until Untrack; a later
    // call moves it to another tool, which it reaches. Its text is the one a
    // hover would show.
    void Track(HWND tool);
    // Hides the tracked tooltip, if one shows.
    void Untrack();

    // Asks for the text of tool again when its tooltip shows, and shows what it
    // says now; nothing when another tool's tooltip or none shows.
    void Refresh(HWND tool);

private:
    // Makes the control for the tools of owner, once; false when there is none.
    bool Created(HWND owner);
    void Create(HWND owner);
    // The widest line the tooltip can show without leaving the screen tool is on.
    int LineWidth(HWND tool) const;

    HINSTANCE m_instance;
    TextFunction m_text;
    ReachFunction m_reached;
    HWND m_handle = nullptr;
    bool m_tried = false;
    std::vector<HWND> m_tools;
    // The tool the pointer last reached, until it leaves or its tooltip goes.
    HWND m_hovered = nullptr;
    // The tool whose tooltip the tracking tool shows, while it shows.
    HWND m_tracked = nullptr;
    bool m_trackingAdded = false;
    // Where the pointer was when tracking began: a window appearing or going
    // under a resting pointer sends it movements that are none.
    POINT m_pointerAtTrack{};
    // The text last handed to the control, kept until it asks again.
    std::u16string m_shown;
};

} // namespace kelvory
