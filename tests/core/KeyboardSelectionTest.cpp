#include "KeyboardSelection.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvory {
namespace {

using enum SelectionKey;

struct Press {
    SelectionKey key;
    bool repeated = false;
};

constexpr Press Repeat(SelectionKey key)
{
    return {key, true};
}

// A sequence of presses from the state at start-up (the first of six buttons,
// hidden), a second apart, each followed at once by the paint of the frame
// where it then is: the selection it leaves and the buttons it starts, in
// order.
// Where the selection is after a sequence, and whether it shows.
struct Place {
    std::size_t selected;
    bool shown;
};

struct SequenceCase {
    const char* name;
    std::vector<Press> presses;
    Place after;
    std::vector<std::size_t> started;
};

TEST(PressSelectionKey, FollowsEachSequenceOfKeys)
{
    const SequenceCase cases[] = {
        {"nothing starts while hidden", {{Start}, {Start}}, {0, false}, {}},
        {"the first key only shows the selection", {{Next}}, {0, true}, {}},
        {"every navigation key first only shows", {{Last}}, {0, true}, {}},
        {"then it moves", {{Next}, {Next}, {Next}}, {2, true}, {}},
        {"and starts the selected button", {{Next}, {Next}, {Start}}, {1, true}, {1}},
        {"previous wraps to the last", {{Previous}, {Previous}}, {5, true}, {}},
        {"next wraps to the first", {{Last}, {Last}, {Next}}, {0, true}, {}},
        {"home and end", {{Next}, {Last}, {Start}, {First}, {Start}}, {0, true}, {5, 0}},
        {"a held key moves at every repeat", {{Next}, Repeat(Next), Repeat(Next), Repeat(Previous)}, {1, true}, {}},
        {"a held start key starts once", {{Next}, {Start}, Repeat(Start), Repeat(Start)}, {0, true}, {0}},
        {"each press starts again", {{Next}, {Start}, {Start}}, {0, true}, {0, 0}},
        {"escape hides, and nothing starts", {{Next}, {Next}, {Hide}, {Start}}, {1, false}, {}},
        {"the next key shows it where it was", {{Next}, {Next}, {Hide}, {Previous}, {Start}}, {1, true}, {1}},
        {"escape while hidden changes nothing", {{Hide}, {Start}}, {0, false}, {}},
    };
    for (const SequenceCase& c : cases) {
        Selection selection;
        std::vector<std::size_t> started;
        TickCount now = 0;
        for (const Press& press : c.presses) {
            now += 1000;
            const SelectionStep step = PressSelectionKey(selection, press.key, press.repeated, 6, now);
            selection = FramePainted(step.selection, now + 1);
            if (step.start) {
                started.push_back(selection.selected);
            }
        }
        EXPECT_EQ(selection.selected, c.after.selected) << c.name;
        EXPECT_EQ(selection.shown, c.after.shown) << c.name;
        EXPECT_EQ(started, c.started) << c.name;
    }
}

TEST(PressSelectionKey, OneButtonStaysSelectedWhicheverWayItMoves)
{
    for (SelectionKey key : {Next, Previous, First, Last}) {
        EXPECT_EQ(PressSelectionKey({0, true, 5}, key, false, 1, 10).selection, (Selection{0, true, 5}));
    }
}

// Keys and paints as the window sees them, each stamped with its time.
struct Event {
    enum { Key, Paint } kind;
    TickCount at;
    SelectionKey key = Start;
    bool repeated = false;
};

constexpr Event KeyAt(TickCount at, SelectionKey key)
{
    return {Event::Key, at, key};
}

constexpr Event PaintAt(TickCount at)
{
    return {Event::Paint, at};
}

// From the selection left on the third of six buttons, shut down, and hidden
// with Escape: the buttons a timed sequence starts. Each runs from two
// origins: the tick clock's start, and just before it wraps around.
TEST(PressSelectionKey, StartsOnlyWhatHasBeenOnScreenForTheDwell)
{
    constexpr TickCount dwell = kStartDwell;
    const struct {
        const char* name;
        std::vector<Event> events;
        std::vector<std::size_t> started;
    } cases[] = {
        // Tab and Return queued together: the paint comes after both.
        {"a burst at 0 ms", {KeyAt(0, Next), KeyAt(0, Start), PaintAt(2)}, {}},
        {"a burst at 12 ms", {KeyAt(0, Next), KeyAt(12, Start), PaintAt(14)}, {}},
        {"a burst at 30 ms", {KeyAt(0, Next), KeyAt(30, Start), PaintAt(32)}, {}},
        {"a burst at 100 ms", {KeyAt(0, Next), KeyAt(100, Start), PaintAt(102)}, {}},
        // The paint between them, yet too short a time on screen.
        {"painted, Return 30 ms later", {KeyAt(0, Next), PaintAt(2), KeyAt(32, Start)}, {}},
        {"painted, Return 100 ms later", {KeyAt(0, Next), PaintAt(2), KeyAt(102, Start)}, {}},
        {"a millisecond short of the dwell", {KeyAt(0, Next), PaintAt(2), KeyAt(1 + dwell, Start)}, {}},
        {"after the dwell it starts, once",
         {KeyAt(0, Next), PaintAt(2), KeyAt(2 + dwell, Start), {Event::Key, 40 + dwell, Start, true}},
         {2}},
        {"an early Return leaves the frame, and a later one starts",
         {KeyAt(0, Next), PaintAt(2), KeyAt(30, Start), KeyAt(2 + dwell, Start)},
         {2}},
        {"a repaint does not restart the dwell",
         {KeyAt(0, Next), PaintAt(2), PaintAt(200), KeyAt(2 + dwell, Start)},
         {2}},
        {"a key stamped before the paint, handled after it", {KeyAt(0, Next), PaintAt(50), KeyAt(40, Start)}, {}},
        {"a move starts the dwell again at the new button",
         {KeyAt(0, Next), PaintAt(2), KeyAt(1000, Next), KeyAt(1001, Start), PaintAt(1003), KeyAt(1100, Start),
          KeyAt(1003 + dwell, Start)},
         {3}},
        {"hidden and shown again, the frame must be painted again",
         {KeyAt(0, Next), PaintAt(2), KeyAt(1000, Hide), PaintAt(1002), KeyAt(2000, Next), KeyAt(3000, Start)},
         {}},
        {"a paint while hidden counts for nothing", {PaintAt(2), KeyAt(1000, Next), KeyAt(2000, Start)}, {}},
    };
    for (const TickCount origin : {TickCount{0}, TickCount{0xFFFFFF00}}) {
        for (const auto& c : cases) {
            // Escape hid the frame at shut down, painted there long before.
            const Selection painted = FramePainted({2, true, std::nullopt}, origin - 5000);
            Selection selection = PressSelectionKey(painted, Hide, false, 6, origin - 1000).selection;
            std::vector<std::size_t> started;
            for (const Event& event : c.events) {
                if (event.kind == Event::Paint) {
                    selection = FramePainted(selection, origin + event.at);
                    continue;
                }
                const SelectionStep step =
                    PressSelectionKey(selection, event.key, event.repeated, 6, origin + event.at);
                selection = step.selection;
                if (step.start) {
                    started.push_back(selection.selected);
                }
            }
            EXPECT_EQ(started, c.started) << c.name << " from " << origin;
            if (c.started.empty()) {
                EXPECT_TRUE(selection.shown) << c.name << ": the frame stays";
            }
        }
    }
}

} // namespace
} // namespace kelvory
