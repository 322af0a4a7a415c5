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
// hidden): the selection it leaves and the buttons it starts, in order.
struct SequenceCase {
    const char* name;
    std::vector<Press> presses;
    Selection after;
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
        for (const Press& press : c.presses) {
            const SelectionStep step = PressSelectionKey(selection, press.key, press.repeated, 6);
            selection = step.selection;
            if (step.start) {
                started.push_back(selection.selected);
            }
        }
        EXPECT_EQ(selection, c.after) << c.name;
        EXPECT_EQ(started, c.started) << c.name;
    }
}

TEST(PressSelectionKey, OneButtonStaysSelectedWhicheverWayItMoves)
{
    for (SelectionKey key : {Next, Previous, First, Last}) {
        EXPECT_EQ(PressSelectionKey({0, true}, key, false, 1).selection, (Selection{0, true}));
    }
}

} // namespace
} // namespace kelvory
