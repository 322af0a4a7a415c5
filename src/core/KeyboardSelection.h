#pragma once
// The keyboard's selection among the window's buttons: which one is selected,
// whether the selection is shown, and when a key starts the selected button.
// Plain rules; the window maps its keys to these and carries out the result.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace kelvory {

enum class SelectionKey {
    Next, // Right, Down, Tab
    Previous, // Left, Up, Shift+Tab
    First, // Home
    Last, // End
    Start, // Enter, Space
    Hide, // Escape
};

// Milliseconds on the system's tick clock, which stamps key messages. It wraps
// around after 49.7 days, so only differences between two stamps count.
using TickCount = std::uint32_t;

// How long the selection's frame must have been on screen at a button before
// a start key starts it: longer than a person takes to react to something
// seen (about a quarter of a second, and a frame or two more before a paint
// is lit on the screen), shorter than looking at the frame and deciding. A
// burst of keys (a scanner, a macro, a bounce) ending in Tab, Enter therefore
// starts nothing.
inline constexpr TickCount kStartDwell = 300;

struct Selection {
    std::size_t selected = 0;
    bool shown = false;
    // When the frame was first painted at the selected button since it was
    // shown or moved there; none until then.
    std::optional<TickCount> framePainted;
    bool operator==(const Selection&) const = default;
};

struct SelectionStep {
    Selection selection;
    // The key asks to start the selected button.
    bool start = false;
};

// What one key press, stamped at the given time, does to the selection among
// count buttons (at least one). While the selection is hidden, a navigation
// key only shows it where it is, and starting does nothing: nothing starts
// before the selection has been seen. A start key starts only once the frame
// has been painted at the selected button for at least kStartDwell; sooner it
// does nothing, and the selection stays as it is. Moving wraps around at both
// ends. repeated is the keyboard's auto-repeat of a held key: it moves the
// selection again, but it never starts a second time.
SelectionStep PressSelectionKey(const Selection& current, SelectionKey key, bool repeated, std::size_t count,
                                TickCount now);

// The frame has been painted at the selected button at the given time. Only
// the first paint since the selection was shown or moved there counts: a
// later repaint does not restart the dwell. While hidden, nothing changes.
Selection FramePainted(const Selection& current, TickCount now);

} // namespace kelvory
