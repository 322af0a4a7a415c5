#include "ImageControl.h"

#include "Text.h"
#include "Window.h"
#include "WindowClasses.h"

#include <windowsx.h>

namespace kelvory {

ImageControl::ImageControl(HINSTANCE instance) : m_instance(instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    // With double clicks reported as such, the second press of a double click
    // is not a press at all, so a double click gives one click.
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProcStub<ImageControl>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kImageClass;
    RegisterWindowClass(windowClass);
}

ImageControl::~ImageControl()
{
    if (m_handle) {
        DestroyWindow(m_handle);
    }
}

void ImageControl::SetParent(HWND parent)
{
    if (!m_handle) {
        CreateWindowExW(0, kImageClass, WideText(Name), WS_CHILD | WS_CLIPSIBLINGS | (m_visible ? WS_VISIBLE : 0),
                        m_left, m_top, m_width, m_height, parent, nullptr, m_instance, this);
    } else {
        ::SetParent(m_handle, parent);
    }
}

void ImageControl::SetBounds(int left, int top, int width, int height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    if (m_handle) {
        SetWindowPos(m_handle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ImageControl::SetVisible(bool visible)
{
    m_visible = visible;
    if (m_handle) {
        ShowWindow(m_handle, visible ? SW_SHOWNA : SW_HIDE);
    }
}

void ImageControl::SetIcon(UniqueIcon icon)
{
    m_icon = std::move(icon);
    if (m_handle) {
        InvalidateRect(m_handle, nullptr, TRUE);
    }
}

void ImageControl::Click()
{
    if (OnClick) {
        OnClick(*this);
    }
}

void ImageControl::Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (m_icon) {
        // Zero width and height draw the icon at its own size; a failed drawing
        // leaves the background, and is not worth a message.
        DrawIconEx(dc, 0, 0, m_icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
    }
    EndPaint(window, &paint);
}

LRESULT ImageControl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        m_handle = window;
        break;
    case WM_NCDESTROY:
        m_handle = nullptr;
        m_pressed = false;
        break;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_LBUTTONDOWN:
        m_pressed = true;
        SetCapture(window);
        if (OnPress) {
            OnPress(*this);
        }
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        if (OnPress) {
            OnPress(*this);
        }
        break;
    case WM_LBUTTONUP:
        if (m_pressed) {
            m_pressed = false;
            ReleaseCapture();
            RECT client;
            GetClientRect(window, &client);
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (PtInRect(&client, point)) {
                Click();
            }
        }
        return 0;
    case WM_MOUSEMOVE:
        if (OnMouseMove) {
            OnMouseMove(*this, wParam, lParam);
        }
        break;
    case WM_CAPTURECHANGED:
        m_pressed = false;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace kelvory
