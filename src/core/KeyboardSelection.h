#pragma once
// The keyboard's selection among the window's buttons: which one is selected,
// whether the selection is shown, and when a key starts the selected button.
// Plain rules; the window maps its keys to these and carries out the result.
#include <cstddef>

namespace kelvory {

enum class SelectionKey {
    Next, // Right, Down, Tab
    Previous, // Left, Up, Shift+Tab
    First, // Home
    Last, // End
    Start, // Enter, Space
    Hide, // Escape
};

struct Selection {
    std::size_t selected = 0;
    bool shown = false;
    bool operator==(const Selection&) const = default;
};

struct SelectionStep {
    Selection selection;
    // The key asks to start the selected button.
    bool start = false;
};

// What one key press does to the selection among count buttons (at least
// one). While the selection is hidden, a navigation key only shows it where it
// is, and starting does nothing: nothing starts before the selection has been
// seen. Moving wraps around at both ends. repeated is the keyboard's
// auto-repeat of a held key: it moves the selection again, but it never
// starts a second time.
SelectionStep PressSelectionKey(Selection current, SelectionKey key, bool repeated, std::size_t count);

} // namespace kelvory
