#include "PhraseForecast.h"

#include "SideBySide.h"

#include <algorithm>
#include <vector>

namespace wordloom {

namespace {

// Neighbours in suffix order looked at on each side for a later occurrence:
// the nearest ones share the most words.
constexpr int kNeighbours = 4;
// Starts looked at between two calls of betweenPhases: a few milliseconds.
constexpr std::uint32_t kStartsBetweenPauses = 1u << 15;
// Starts in a text of about a megabyte.
constexpr std::uint32_t kStartsWorthASecondCore = std::uint32_t(kUnitsWorthASecondCore / 6);

// Words of a phrase from position, as long as can be seen from its nearest
// suffixes, that also occurs at a later position, not overlapping it, and
// not reaching the last word (whether an occurrence that ends the text is
// counted depends on how the searched text ends).
std::uint32_t repeatedLaterFrom(const WordSuffixIndex &index, std::uint32_t position)
{
    const std::uint32_t rank = index.rankOf(position);
    const std::uint32_t words = index.wordCount();
    std::uint32_t best = 0;
    const auto consider = [&](std::uint32_t otherRank, std::uint32_t shared) {
        const std::uint32_t other = index.suffixAt(otherRank);
        if (other <= position)
            return;
        const std::uint32_t gap = other - position;
        best = std::max(best, std::min({shared, gap, words - 1 - other}));
        // Sharing more words than the gap, the text repeats itself every gap
        // words for shared + gap words: a phrase of half that recurs one or
        // more periods on, after its own end.
        if (shared > gap && words - position > gap)
            best = std::max(best, std::min((shared + 1) / 2, (words - position - gap) / 2));
    };
    std::uint32_t shared = ~0u;
    for (std::uint32_t r = rank, step = 0; r > 0 && step < kNeighbours; --r, ++step) {
        shared = std::min(shared, index.sharedWithPrevious(r));
        if (shared < 2)
            break;
        consider(r - 1, shared);
    }
    shared = ~0u;
    for (std::uint32_t r = rank + 1, step = 0; r < words && step < kNeighbours; ++r, ++step) {
        shared = std::min(shared, index.sharedWithPrevious(r));
        if (shared < 2)
            break;
        consider(r, shared);
    }
    return best;
}

// The walk starts a candidate at every word in turn, and ends early only
// when a candidate reaches the last word: at the first start whose whole
// remainder occurs elsewhere.
std::uint32_t lastStartOf(const WordSuffixIndex &index)
{
    const std::uint32_t words = index.wordCount();
    std::uint32_t lastStart = 0;
    while (lastStart + 1 < words && index.repeatedFrom(lastStart) < words - lastStart)
        ++lastStart;
    return lastStart;
}

} // namespace

PhraseForecast forecastCeiling(const WalkText &text)
{
    const WordSuffixIndex &index = text.index;
    PhraseForecast ceiling;
    if (index.wordCount() < 2)
        return ceiling;
    // No phrase from a start is longer than the most words it shares with another suffix.
    const std::uint32_t lastStart = lastStartOf(index);
    for (std::uint32_t i = 0; i <= lastStart; ++i) {
        const std::uint32_t repeated = index.repeatedFrom(i);
        if (repeated >= 2)
            ceiling.longestChars = std::max(ceiling.longestChars, text.scanStart[i + repeated] - text.scanStart[i] - 1);
    }
    // Every phrase of two words or more that occurs twice, once: in suffix
    // order, those a suffix shares with the one before and not with the one
    // before that.
    for (std::uint32_t rank = 1, before = 0; rank < index.wordCount(); ++rank) {
        const std::uint32_t shared = index.sharedWithPrevious(rank);
        if (shared > std::max(before, 1u))
            ceiling.phrases += shared - std::max(before, 1u);
        before = shared;
    }
    ceiling.firstWords = index.distinctWords();
    return ceiling;
}

PhraseForecast forecastPhrases(const WalkText &text, const std::function<void()> &betweenPhases)
{
    const WordSuffixIndex &index = text.index;
    const std::uint32_t words = index.wordCount();
    PhraseForecast forecast;
    if (words < 2)
        return forecast;
    const std::uint32_t lastStart = lastStartOf(index);
    // Each start's look at its neighbours misses the cache: on a long text
    // the two halves of the starts are looked at side by side.
    std::vector<std::uint32_t> longest(words, 0);
    // The calling thread's part stops now and then for betweenPhases.
    const auto lookAt = [&](std::uint32_t begin, std::uint32_t end, bool callingThread) {
        for (std::uint32_t i = begin; i < end; ++i) {
            if (index.repeatedFrom(i) >= 2)
                longest[i] = repeatedLaterFrom(index, i);
            if (callingThread && betweenPhases && (i - begin) % kStartsBetweenPauses == kStartsBetweenPauses - 1)
                betweenPhases();
        }
    };
    const std::uint32_t starts = lastStart + 1;
    if (starts >= kStartsWorthASecondCore)
        runSideBySide([&] { lookAt(0, starts / 2, true); }, [&] { lookAt(starts / 2, starts, false); });
    else
        lookAt(0, starts, true);
    if (betweenPhases)
        betweenPhases();
    std::vector<bool> firstWordSeen(index.distinctWords(), false);
    for (std::uint32_t i = 0; i < starts; ++i) {
        const std::uint32_t length = longest[i];
        if (length < 2) {
            longest[i] = 0;
            continue;
        }
        forecast.longestChars = std::max(forecast.longestChars, text.scanStart[i + length] - text.scanStart[i] - 1);
        if (!firstWordSeen[index.id(i)]) {
            firstWordSeen[index.id(i)] = true;
            ++forecast.firstWords;
        }
    }
    if (betweenPhases)
        betweenPhases();
    // Distinct phrases: in suffix order, a start's phrases that an earlier
    // start in that order already has are the ones within the words both
    // share and the earlier one's length (`carried`, the most over all of them).
    std::uint32_t carried = 0, previousLength = 0;
    for (std::uint32_t rank = 0; rank < words; ++rank) {
        carried = rank == 0 ? 0 : std::min(index.sharedWithPrevious(rank), std::max(carried, previousLength));
        const std::uint32_t length = longest[index.suffixAt(rank)];
        if (length > std::max(carried, 1u))
            forecast.phrases += length - std::max(carried, 1u);
        previousLength = length;
    }
    return forecast;
}

} // namespace wordloom
