#pragma once
// The keyboard's selection among the row's buttons, shown as a dotted frame in
// the group box that holds them. The rules are the core's (KeyboardSelection);
// this maps the window's keys to them, draws the frame and carries out what
// they ask for.
#include "ImageControl.h"
#include "KeyboardSelection.h"

#include <windows.h>

#include <cstddef>
#include <functional>

namespace kelvory {

class RowSelection {
public:
    // The row's buttons in order, the fixed ones left to right, then the
    // configured ones by entry number; null past the last.
    using ButtonAtFunction = std::function<ImageControl*(std::size_t place)>;
    // Told the selected button after every key while the selection shows,
    // and null once it hides.
    using SelectedFunction = std::function<void(HWND button)>;

    RowSelection(ButtonAtFunction buttonAt, SelectedFunction selected);
    RowSelection(const RowSelection&) = delete;
    RowSelection& operator=(const RowSelection&) = delete;

    // Draws in this group box, the buttons' parent, of this form, whose
    // window system focus cues follow the selection. Subclasses the group box
    // until it goes.
    void Attach(HWND form, HWND groupBox);

    // A key pressed in the form, with its message's flags and time: true
    // when it was one of the selection's.
    bool KeyDown(WPARAM key, LPARAM flags, TickCount time);
    // A mouse press or the form's deactivation: the next key shows the
    // selection again where it was.
    void Hide();

    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    std::size_t ButtonCount() const;
    // Carries out what the key does to the selection.
    void Press(SelectionKey key, bool repeated, TickCount time);
    void Show(bool shown);
    // The frame outside the selected button, in the group box's client
    // coordinates; empty when nothing is placed there.
    RECT Frame() const;
    void InvalidateFrame() const;

    ButtonAtFunction m_buttonAt;
    SelectedFunction m_selectedChanged;
    HWND m_form = nullptr;
    HWND m_groupBox = nullptr;
    // Kept here rather than read from the window system's UI state: Wine keeps
    // none (it always reports focus cues as shown), and where the system is
    // set to show keyboard cues always, its state would show the selection
    // before any key was pressed.
    Selection m_selection;
};

} // namespace kelvory
