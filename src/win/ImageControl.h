#pragma once
// An image button: shows an icon at its top-left corner at the icon's own size,
// with the icon's transparency, and turns a left press followed by a release
// inside it into one click. It takes no keyboard focus: the keyboard reaches it
// through its window's selection, which calls Click.
//
// Like the toolkit's image controls it exists before it has a parent: its
// window is made only when it is placed in one, so a control that is never
// placed is never painted and never clicked.
#include "UniqueHandle.h"

#include <windows.h>

#include <functional>
#include <string>

namespace kelvory {

class ImageControl {
public:
    using ClickFunction = std::function<void(ImageControl& sender)>;
    // A mouse movement over the control, with the message's keys and position.
    using MouseMoveFunction = std::function<void(ImageControl& sender, WPARAM keys, LPARAM position)>;
    // Any mouse button pressed on the control, whether or not it becomes a click.
    using PressFunction = std::function<void(ImageControl& sender)>;

    explicit ImageControl(HINSTANCE instance);
    ~ImageControl();
    ImageControl(const ImageControl&) = delete;
    ImageControl& operator=(const ImageControl&) = delete;

    std::u16string Name;
    ClickFunction OnClick;
    MouseMoveFunction OnMouseMove;
    PressFunction OnPress;

    // What a click does: OnClick with this control as sender.
    void Click();

    HWND Handle() const noexcept { return m_handle; }

    void SetParent(HWND parent);
    void SetBounds(int left, int top, int width, int height);
    void SetVisible(bool visible);

    // The control owns its icon and destroys it when it goes.
    void SetIcon(UniqueIcon icon);
    HICON Icon() const noexcept { return m_icon.get(); }

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // The size of a new image control, before anything sets it.
    static constexpr int kDefaultSize = 105;

    void Paint(HWND window);

    HINSTANCE m_instance;
    HWND m_handle = nullptr;
    int m_left = 0;
    int m_top = 0;
    int m_width = kDefaultSize;
    int m_height = kDefaultSize;
    bool m_visible = false;
    bool m_pressed = false;
    UniqueIcon m_icon;
};

} // namespace kelvory
