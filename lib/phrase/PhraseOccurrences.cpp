#include "PhraseOccurrences.h"

#include <algorithm>

namespace wordloom {

namespace {

// The first position at or after `wanted`, searched from `from` in steps
// that double: the next free occurrence is mostly a few entries on, where a
// search over the whole rest of the list would miss the cache at each halving.
template <typename Iterator>
Iterator gallopTo(Iterator from, Iterator end, std::uint32_t wanted)
{
    // Positions differ by one at least, so the answer is at most
    // wanted - *from entries on; where they follow each other (a run of one
    // word) it is just there.
    if (from != end && *from < wanted) {
        const std::ptrdiff_t most = std::ptrdiff_t(wanted - *from);
        if (end - from > most) {
            end = from + most + 1;
            if (end[-2] < wanted)
                return end - 1;
        }
    }
    std::ptrdiff_t step = 1;
    auto lo = from;
    while (end - lo > step && lo[step] < wanted) {
        lo += step;
        step *= 2;
    }
    const auto hi = end - lo > step ? lo + step + 1 : end;
    return std::lower_bound(lo, hi, wanted);
}

} // namespace

bool OccurrenceCounter::listHolds(WordRange occurrences) const
{
    // A list of many more positions is made afresh: passing them would cost more.
    return listValid_ && listRange_.lo <= occurrences.lo && occurrences.hi <= listRange_.hi
        && positions_.size() <= std::size_t(occurrences.hi - occurrences.lo) * 16;
}

std::uint32_t OccurrenceCounter::count(WordRange occurrences, std::uint32_t words, std::uint32_t from)
{
    const std::uint32_t found = occurrences.hi - occurrences.lo;
    if (found <= 1)
        return found == 1 && index_.suffixAt(occurrences.lo) >= from ? 1 : 0;
    // The positions of a phrase this one extends are at hand along a chain of
    // candidates: counting from them costs a step per occurrence counted.
    if (listHolds(occurrences))
        return countFromPositions(occurrences, words, from);
    const std::uint32_t rest = index_.wordCount() - from;
    // Walking the text is worth it when at least one word in eight begins an
    // occurrence, or when the occurrences could cover the rest of the text,
    // as a long phrase of a text that repeats a short passage has: each one
    // found passes all its words. It stops after about as many steps as it
    // would take if they followed each other: words that begin none, such as
    // the phrase's length before a word that breaks the repeats, are passed
    // faster from the list of occurrences, which the longer candidates that
    // follow then share.
    const bool dense = std::uint64_t(found) * 8 >= rest;
    if (dense || std::uint64_t(found) * words >= rest) {
        const std::uint64_t steps = dense ? 2 * (rest / words) + 64 : found;
        const Walked walked = countByWalkingText(occurrences, words, from, steps);
        if (walked.at >= index_.wordCount())
            return walked.counted;
        return walked.counted + countFromPositions(occurrences, words, walked.at);
    }
    return countFromPositions(occurrences, words, from);
}

OccurrenceCounter::Walked OccurrenceCounter::countByWalkingText(WordRange occurrences, std::uint32_t words,
                                                                std::uint32_t from, std::uint64_t maxSteps)
{
    // An occurrence must end by the text's end.
    const std::uint64_t lastStart = std::uint64_t(index_.wordCount()) - words;
    std::uint32_t counted = 0;
    std::uint64_t steps = 0, at = from;
    for (; at <= lastStart; ++steps) {
        if (steps == maxSteps) {
            budget_.worked(steps);
            return {counted, std::uint32_t(at)};
        }
        const std::uint32_t rank = index_.rankOf(std::uint32_t(at));
        if (rank >= occurrences.lo && rank < occurrences.hi)
            ++counted, at += words;
        else
            ++at;
    }
    budget_.worked(steps);
    return {counted, index_.wordCount()};
}

void OccurrenceCounter::listPositions(WordRange occurrences)
{
    if (listHolds(occurrences))
        return;
    const std::uint32_t found = occurrences.hi - occurrences.lo;
    budget_.worked(std::uint64_t(found) * 4);
    positions_.resize(found);
    if (std::uint64_t(found) * 8 >= index_.wordCount()) {
        // Many occurrences (a text that repeats a short passage): reading
        // the ranks in text order costs less than sorting the positions.
        std::uint32_t k = 0;
        for (std::uint32_t p = 0; p < index_.wordCount(); ++p) {
            const std::uint32_t rank = index_.rankOf(p);
            if (rank >= occurrences.lo && rank < occurrences.hi)
                positions_[k++] = p;
        }
    } else {
        for (std::uint32_t r = occurrences.lo; r < occurrences.hi; ++r)
            positions_[r - occurrences.lo] = index_.suffixAt(r);
        std::sort(positions_.begin(), positions_.end());
    }
    listRange_ = occurrences;
    listValid_ = true;
}

std::uint32_t OccurrenceCounter::countFromPositions(WordRange occurrences, std::uint32_t words,
                                                    std::uint32_t from)
{
    listPositions(occurrences);
    // The list may still hold occurrences of the shorter phrase it was made
    // for: they are passed over, and dropped once they cost more than the
    // occurrences counted.
    const auto end = positions_.end();
    auto it = std::lower_bound(positions_.begin(), end, from);
    std::uint32_t counted = 0;
    std::uint64_t passed = 0;
    while (it != end) {
        const std::uint32_t rank = index_.rankOf(*it);
        if (rank >= occurrences.lo && rank < occurrences.hi) {
            ++counted;
            // The next occurrence may begin only after this one's last word.
            const std::uint64_t nextFree = std::uint64_t(*it) + words;
            ++it;
            if (it != end && *it < nextFree)
                it = gallopTo(it, end, nextFree);
        } else {
            ++passed;
            ++it;
        }
    }
    budget_.worked(passed + std::uint64_t(counted) * 4);
    if (passed > 2 * std::uint64_t(counted) + 64) {
        budget_.worked(positions_.size());
        std::erase_if(positions_, [&](std::uint32_t position) {
            const std::uint32_t rank = index_.rankOf(position);
            return rank < occurrences.lo || rank >= occurrences.hi;
        });
        listRange_ = occurrences;
    }
    return counted;
}

} // namespace wordloom
