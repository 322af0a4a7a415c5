#include "IconChoice.h"

#include <cstdlib>

namespace kelvory {

std::optional<std::size_t> ChooseIconEntry(std::span<const IconEntry> entries, int standardSize, int screenBitsPerPixel)
{
    const int richestShown = screenBitsPerPixel > 8 ? 32 : 4;

    // Depth rank: any depth the screen shows beats one it does not; among the
    // shown ones richer is better, among the others poorer is better.
    auto depthRank = [&](int bits) { return bits <= richestShown ? bits : -bits; };
    auto distance = [&](const IconEntry& e) {
        return std::abs(e.width - standardSize) + std::abs(e.height - standardSize);
    };

    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IconEntry& entry = entries[i];
        if (entry.png) {
            continue;
        }
        if (best) {
            const IconEntry& chosen = entries[*best];
            if (distance(entry) > distance(chosen)) {
                continue;
            }
            if (distance(entry) == distance(chosen) && depthRank(entry.bitsPerPixel) < depthRank(chosen.bitsPerPixel)) {
                continue;
            }
        }
        best = i; // ties go to the later entry
    }
    return best;
}

} // namespace kelvory
