#include "PhraseForecast.h"

#include <algorithm>
#include <limits>

namespace wordloom {

namespace {

// Neighbours in suffix order looked at on each side; fewer only lowers the bound.
constexpr int kNeighbours = 64;

// The longest phrase from word j that occurs again at or after its own end, or less.
std::uint32_t laterRepeat(const WordSuffixIndex &index, std::uint32_t j)
{
    const std::uint32_t n = index.wordCount(), rank = index.rankOf(j);
    std::uint32_t best = 0;
    const auto consider = [&](std::uint32_t shared, std::uint32_t other) {
        if (other > j)
            best = std::max(best, std::min(shared, other - j));
    };
    std::uint32_t shared = std::numeric_limits<std::uint32_t>::max();
    for (std::uint32_t k = rank + 1; k < n && k <= rank + kNeighbours; ++k) {
        shared = std::min(shared, index.sharedWithPrevious(k));
        if (shared <= best)
            break;
        consider(shared, index.suffixAt(k));
    }
    shared = std::numeric_limits<std::uint32_t>::max();
    for (std::uint32_t k = rank; k > 0 && k + kNeighbours > rank; --k) {
        shared = std::min(shared, index.sharedWithPrevious(k));
        if (shared <= best)
            break;
        consider(shared, index.suffixAt(k - 1));
    }
    return best;
}

// A chain runs into the text's end, ending the walk, only if the rest of the
// text from j was recorded or counted twice: then it occurs twice without
// overlap, so it is at most half the text, and it occurs elsewhere in full.
bool mayEndTheWalk(const WordSuffixIndex &index, std::uint32_t j)
{
    const std::uint32_t n = index.wordCount(), rest = n - j, next = index.rankOf(j) + 1;
    return 2 * std::uint64_t(rest) <= n && next < n && index.sharedWithPrevious(next) >= rest;
}

} // namespace

std::uint64_t forecastCandidates(const WordSuffixIndex &index, std::uint32_t start, std::uint64_t enough)
{
    std::uint64_t candidates = 0;
    if (mayEndTheWalk(index, start))
        return 0;
    for (std::uint32_t j = start + 1; j < index.wordCount() && candidates < enough; ++j) {
        const std::uint32_t repeat = laterRepeat(index, j);
        // A chain that may fail at two words can lose its pending words.
        if (repeat < 2)
            break;
        candidates += repeat - 1;
        if (mayEndTheWalk(index, j))
            break;
    }
    return candidates;
}

} // namespace wordloom
