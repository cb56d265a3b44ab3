#pragma once

#include "WordSuffixIndex.h"

#include <cstdint>

namespace wordloom {

// A lower bound on the candidates the walk of Phrase Count has yet to
// examine, for a text that repeats long passages. While the candidate is a
// run of words from `start`, its chain of ever longer candidates ends with a
// restart at start + 1, which begins the same kind of chain there; each
// chain from a word j goes on at least as long as the phrase from j occurs
// again, whole, further on. Sums those lengths for the starts that follow,
// stopping once the sum reaches enough or when a chain might end otherwise.
std::uint64_t forecastCandidates(const WordSuffixIndex &index, std::uint32_t start, std::uint64_t enough);

} // namespace wordloom
