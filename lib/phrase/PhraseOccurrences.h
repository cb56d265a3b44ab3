#pragma once

#include "PhraseBudget.h"
#include "WordSuffixIndex.h"

#include <cstdint>
#include <vector>

namespace wordloom {

// Counts a phrase the way the text search of Phrase Count does: from a word
// on, each occurrence found lets the next one begin only after its last
// word. Dense occurrences (a text that repeats itself) are found by walking
// the text; sparse ones from their positions in order, kept from one
// candidate to its longer successors, hopping from each occurrence counted
// to the first one after it.
class OccurrenceCounter {
public:
    OccurrenceCounter(const WordSuffixIndex &index, PhraseBudget &budget) : index_(index), budget_(budget) {}

    // occurrences: the phrase's suffix ranks; words: its length; from: the first word.
    std::uint32_t count(WordRange occurrences, std::uint32_t words, std::uint32_t from);

private:
    // Occurrences counted, and the word the walk stopped at (wordCount() at the text's end).
    struct Walked {
        std::uint32_t counted;
        std::uint32_t at;
    };
    Walked countByWalkingText(WordRange occurrences, std::uint32_t words, std::uint32_t from,
                              std::uint64_t maxSteps);
    std::uint32_t countFromPositions(WordRange occurrences, std::uint32_t words, std::uint32_t from);
    // True when the list holds every occurrence of the phrase (and maybe more).
    bool listHolds(WordRange occurrences) const;
    void listPositions(WordRange occurrences);

    const WordSuffixIndex &index_;
    PhraseBudget &budget_;
    // Positions, ascending, of the occurrences of the phrases in listRange_
    // (the suffixes of one phrase, or of a shorter phrase it begins).
    std::vector<std::uint32_t> positions_;
    WordRange listRange_;
    bool listValid_ = false;
};

} // namespace wordloom
