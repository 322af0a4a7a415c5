#pragma once
// The main window Form1: a small tool window with one group box holding a row of
// 32 x 32 image buttons, four fixed ones and up to eight configured programs.
#include "Application.h"
#include "ConfigRules.h"
#include "DescriptionLookups.h"
#include "ImageControl.h"
#include "KeyboardSelection.h"
#include "Launch.h"
#include "Layout.h"
#include "Tooltip.h"
#include "UniqueHandle.h"
#include "VersionInfo.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace kelvory {

class TForm1 {
public:
    // Creates the window hidden from its stored layout and runs FormCreate.
    // Every start goes through launch: the shell in the program, a recorder in tests.
    // The tooltips read a program's description through describe, on threads
    // of their own (see DescribeFunction for what it may capture).
    explicit TForm1(Application& application, LaunchFunction launch = Launch,
                    DescribeFunction describe = FileDescription);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    HWND Handle() const noexcept { return m_handle; }

    // The outer width, frame included.
    int Width() const;
    void SetWidth(int width);

    HWND GroupBox1 = nullptr;
    ImageControl Image3;
    ImageControl Image2;
    ImageControl Image4;
    ImageControl Image6;

    // Slot n - 1 holds the control made for configuration entry n, shown or not.
    std::array<std::unique_ptr<ImageControl>, kEntryCount> ProgramButtons;

    void FormCreate();
    void Image3Click(ImageControl& sender);
    void Image2Click(ImageControl& sender);
    void Image4Click(ImageControl& sender);
    void Image6Click(ImageControl& sender);
    void AddProgramButton(const std::u16string& path, int index);
    void ProgramButtonClick(ImageControl& sender);

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Everything about one fixed button: its control and click handler, its
    // name and place in the group box, its icon, what it starts and what its
    // tooltip says.
    struct FixedButton {
        ImageControl TForm1::*control;
        void (TForm1::*click)(ImageControl& sender);
        ControlLayout layout;
        int icon;
        FixedStart start;
        std::u16string_view tooltip;
    };
    // The fixed buttons, left to right: the one list that places them, wires
    // their clicks and names their tooltips.
    static const FixedButton kFixedButtons[];

    void LoadStoredLayout();
    void SetClientSize(int width, int height);
    // The row of the fixed button whose control or window this is; null for
    // any other.
    const FixedButton* FixedButtonOf(const ImageControl& control) const;
    const FixedButton* FixedButtonOf(HWND button) const;
    void LaunchFixed(const ImageControl& control);
    void AddTooltip(ImageControl& button);
    void TooltipReached(HWND button);
    std::u16string TooltipText(HWND button, const LineFits& fits);

    // The buttons that show, in row order: the fixed ones left to right, then
    // the configured ones by entry number. The keyboard selects among these.
    std::vector<ImageControl*> RowButtons();
    // The selection starts hidden and hides again on Escape, a mouse press and
    // the window's deactivation; the next navigation key shows it.
    void ShowSelection(bool shown);
    void PressKey(SelectionKey key, bool repeated);
    // The dotted frame two pixels outside the selected button, in the group
    // box's client coordinates; empty when nothing is placed.
    RECT SelectionFrame();
    void InvalidateSelectionFrame();
    static LRESULT CALLBACK GroupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR form) noexcept;

    Application& m_application;
    LaunchFunction m_launch;
    HWND m_handle = nullptr;
    UniqueFont m_font;
    DescriptionLookups m_descriptions;
    Tooltip m_tooltip;
    std::size_t m_selected = 0;
    // Kept here rather than read from the window system's UI state: Wine keeps
    // none (it always reports focus cues as shown), and where the system is
    // set to show keyboard cues always, its state would show the selection
    // before any key was pressed.
    bool m_selectionShown = false;
};

} // namespace kelvory
