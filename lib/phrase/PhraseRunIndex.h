#pragma once

#include "WordSuffixIndex.h"

#include <cstdint>
#include <vector>

namespace wordloom {

// What the walk of Phrase Count needs to jump over a long run of candidates
// at once, on a text that repeats at length: the key hash of any run of
// words in one step, from prefix hashes, and the occurrences of a phrase
// with very many of them in a few hundred steps, from minima of the shared
// lengths over blocks of suffix ranks, instead of one step per occurrence.
// Built when the walk first meets such a run.
class PhraseRunIndex {
public:
    explicit PhraseRunIndex(const WordSuffixIndex &index);

    // The hash of the words [start, start + words), as PhraseCandidate builds it word by word.
    std::uint64_t hashOf(std::uint32_t start, std::uint32_t words) const;
    // The hash of a phrase followed by another of `words` words with hash `tail`.
    static std::uint64_t joined(std::uint64_t head, std::uint64_t tail, std::uint32_t words);
    // All occurrences of the depth-word phrase that begins the suffix at rank.
    WordRange around(std::uint32_t rank, std::uint32_t depth) const;

private:
    const WordSuffixIndex &index_;
    // Hash of the words [0, k).
    std::vector<std::uint64_t> prefix_;
    // Least shared length over each block of ranks, and over each block of blocks.
    std::vector<std::uint32_t> blockLeast_;
    std::vector<std::uint32_t> superLeast_;
};

} // namespace wordloom
