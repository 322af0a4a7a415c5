#pragma once
// The main window Form1: a small tool window with one group box holding a row of
// 32 x 32 image buttons, four fixed ones and up to eight configured programs.
#include "Application.h"
#include "ConfigRules.h"
#include "DescriptionLookups.h"
#include "ImageControl.h"
#include "Launch.h"
#include "Layout.h"
#include "Tooltip.h"
#include "UniqueHandle.h"
#include "VersionInfo.h"

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace kelvory {

class TForm1 {
public:
    // Creates the window hidden from its stored layout and runs FormCreate.
    // Every start goes through launch: the shell in the program, a recorder in tests.
    // The tooltips read a program's description through describe.
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
    void LoadStoredLayout();
    void PlaceFixedButton(ImageControl& image, const ControlLayout& stored, const Bounds& bounds);
    void SetClientSize(int width, int height);
    void LaunchFixed(FixedAction action);
    void AddTooltip(ImageControl& button);
    std::optional<FixedAction> FixedActionOf(HWND button) const;
    std::u16string TooltipText(HWND button, const LineFits& fits);

    Application& m_application;
    LaunchFunction m_launch;
    HWND m_handle = nullptr;
    UniqueFont m_font;
    DescriptionLookups m_descriptions;
    Tooltip m_tooltip;
};

} // namespace kelvory
