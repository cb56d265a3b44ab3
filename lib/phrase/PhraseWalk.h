#pragma once

#include "PhraseBudget.h"
#include "WordSuffixIndex.h"
#include "CommandHost.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace wordloom {

// A phrase the walk recorded: its occurrences, its length in words and the
// count the walk found for it.
struct RecordedPhrase {
    std::uint32_t lo = 0;
    std::uint32_t hi = 0;
    std::uint32_t words = 0;
    std::uint32_t count = 0;
};

// Where the scanner's words and the searched text stand.
struct WalkText {
    const WordSuffixIndex &index;
    // 1-based start of word k in the scanner's text, wordCount() + 1 entries
    // (the last one is the scanner's position after the last word).
    std::vector<std::int64_t> scanStart;
    // Word k begins at scanStart[k] + searchOffset in the searched text.
    std::int64_t searchOffset = 1;
    // The cleaned text the index was built from: words and single spaces.
    QStringView cleaned;
};

// The candidate walk of Phrase Count on word numbers: the same candidates,
// counts, "Analyzing word j" posts and record (into `recorded`) as the walk
// on strings. Tests Cancel after every post (Cancelled when it finds the
// request, nothing posted); the budget throws CommandError as soon as the
// text is certain to be too repetitive.
Outcome walkPhrases(const WalkText &text, CommandHost &host, PhraseBudget &budget,
                    std::vector<RecordedPhrase> &recorded);

// std::lower_bound, searched outwards from a guess: a few steps when the
// answer is near it, as the walk's search start mostly is.
std::uint32_t lowerBoundNear(std::span<const std::int64_t> sorted, std::int64_t wanted, std::uint32_t near);

} // namespace wordloom
