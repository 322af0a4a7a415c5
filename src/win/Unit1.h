#pragma once
// The main window Form1: a small tool window with one group box holding a row of
// 32 x 32 image buttons, four fixed ones and up to eight configured programs.
#include "Application.h"
#include "ConfigRules.h"
#include "DescriptionLookups.h"
#include "ImageControl.h"
#include "Launch.h"
#include "Layout.h"
#include "RowSelection.h"
#include "Tooltip.h"
#include "UniqueHandle.h"
#include "VersionInfo.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <string>

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
    // their clicks and names their tooltips. Each click handler starts from
    // its own row.
    static const FixedButton kCommandPrompt;
    static const FixedButton kTaskManager;
    static const FixedButton kShutDown;
    static const FixedButton kRestart;
    static const FixedButton* const kFixedButtons[];

    void LoadStoredLayout();
    void SetClientSize(int width, int height);
    // The row of the fixed button whose window this is; null for any other.
    const FixedButton* FixedButtonOf(HWND button) const;
    void LaunchFixed(const FixedButton& row);
    void AddTooltip(ImageControl& button);
    void TooltipReached(HWND button);
    std::u16string TooltipText(HWND button, const LineFits& fits);

    // The buttons that show, in row order: the fixed ones left to right, then
    // the configured ones by entry number; null past the last. The keyboard
    // selects among these.
    ImageControl* RowButton(std::size_t place);

    Application& m_application;
    LaunchFunction m_launch;
    HWND m_handle = nullptr;
    UniqueFont m_font;
    DescriptionLookups m_descriptions;
    Tooltip m_tooltip;
    RowSelection m_selection;
};

} // namespace kelvory
