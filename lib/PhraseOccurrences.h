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
// candidate to its one-word-longer successor so that a growing phrase costs
// one pass over its occurrences.
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
    void listPositions(WordRange occurrences, std::uint32_t words);

    const WordSuffixIndex &index_;
    PhraseBudget &budget_;
    // Positions of the occurrences of the phrase (listRange_, listWords_), ascending.
    std::vector<std::uint32_t> positions_;
    WordRange listRange_;
    std::uint32_t listWords_ = 0;
};

} // namespace wordloom
