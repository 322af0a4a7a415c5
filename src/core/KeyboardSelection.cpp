#include "KeyboardSelection.h"

namespace kelvory {

namespace {

// True when the frame painted at that time has been on screen for the dwell
// at now. A key stamped before the paint was pressed before the frame could
// be seen, however late it is handled.
bool DwellPassed(const std::optional<TickCount>& painted, TickCount now)
{
    return painted && static_cast<std::int32_t>(now - *painted) >= static_cast<std::int32_t>(kStartDwell);
}

} // namespace

SelectionStep PressSelectionKey(const Selection& current, SelectionKey key, bool repeated, std::size_t count,
                                TickCount now)
{
    SelectionStep step{current, false};
    if (key == SelectionKey::Start) {
        step.start = current.shown && !repeated && DwellPassed(current.framePainted, now);
        return step;
    }
    Selection& next = step.selection;
    if (key == SelectionKey::Hide) {
        next.shown = false;
    } else if (!current.shown) {
        next.shown = true;
    } else {
        switch (key) {
        case SelectionKey::Next:
            next.selected = (next.selected + 1) % count;
            break;
        case SelectionKey::Previous:
            next.selected = (next.selected + count - 1) % count;
            break;
        case SelectionKey::First:
            next.selected = 0;
            break;
        case SelectionKey::Last:
            next.selected = count - 1;
            break;
        default:
            break;
        }
    }
    // A frame that went or moved has not been seen where it is now.
    if (next.shown != current.shown || next.selected != current.selected) {
        next.framePainted.reset();
    }
    return step;
}

Selection FramePainted(const Selection& current, TickCount now)
{
    Selection next = current;
    if (next.shown && !next.framePainted) {
        next.framePainted = now;
    }
    return next;
}

} // namespace kelvory
