#include "KeyboardSelection.h"

namespace kelvory {

SelectionStep PressSelectionKey(Selection current, SelectionKey key, bool repeated, std::size_t count)
{
    SelectionStep step{current, false};
    if (key == SelectionKey::Hide) {
        step.selection.shown = false;
        return step;
    }
    if (key == SelectionKey::Start) {
        step.start = current.shown && !repeated;
        return step;
    }
    if (!current.shown) {
        step.selection.shown = true;
        return step;
    }
    std::size_t& selected = step.selection.selected;
    switch (key) {
    case SelectionKey::Next:
        selected = (selected + 1) % count;
        break;
    case SelectionKey::Previous:
        selected = (selected + count - 1) % count;
        break;
    case SelectionKey::First:
        selected = 0;
        break;
    case SelectionKey::Last:
        selected = count - 1;
        break;
    default:
        break;
    }
    return step;
}

} // namespace kelvory
