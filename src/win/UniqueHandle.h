#pragma once
// Move-only ownership of a Win32 handle: one obvious place where each handle is
// closed, exactly once.
#include <windows.h>

#include <utility>

namespace kelvory {

// Handles that use INVALID_HANDLE_VALUE for "none" (files, searches) set
// InvalidIsEmpty; they are kept as null inside, so there is one empty state.
template <class H, auto Close, bool InvalidIsEmpty = false>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) noexcept : m_handle(Normalized(handle)) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    H get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != H{}; }

    H release() noexcept { return std::exchange(m_handle, H{}); }

    void reset(H handle = H{}) noexcept
    {
        if (H old = std::exchange(m_handle, Normalized(handle)); old != H{}) {
            Close(old);
        }
    }

private:
    static H Normalized(H handle) noexcept
    {
        if constexpr (InvalidIsEmpty) {
            return handle == INVALID_HANDLE_VALUE ? H{} : handle;
        }
        return handle;
    }

    H m_handle = H{};
};

// Never put a shared icon (LoadIcon, LR_SHARED) in here: those must not be destroyed.
using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueFont = UniqueHandle<HFONT, &DeleteObject>;
using UniqueFindHandle = UniqueHandle<HANDLE, &FindClose, true>;
using UniqueFileHandle = UniqueHandle<HANDLE, &CloseHandle, true>;
// Threads, events and processes.
using UniqueKernelHandle = UniqueHandle<HANDLE, &CloseHandle>;

// The screen's device context, from GetDC(nullptr).
inline void ReleaseScreenDC(HDC dc) noexcept
{
    ReleaseDC(nullptr, dc);
}
using UniqueScreenDC = UniqueHandle<HDC, &ReleaseScreenDC>;

// An object selected into a device context for one scope: the one it replaced
// goes back when the scope ends.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~ScopedSelection() { SelectObject(m_dc, m_previous); }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace kelvory
