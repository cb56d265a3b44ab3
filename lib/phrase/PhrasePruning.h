#pragma once

#include "PhraseWalk.h"
#include "WordSuffixIndex.h"

#include <vector>

namespace wordloom {

// Decides which recorded phrases Phrase Count lists. A phrase is dropped when
// a longer recorded phrase with the same count begins with its characters and
// follows it in the sorted "phrase - count" texts. That is: it continues the
// phrase with more words (unless the next word begins with an apostrophe,
// which sorts before " - "), or continues its last word with more characters.
class PhrasePruner {
public:
    // Reorders record by count, then occurrence range, then length.
    PhrasePruner(std::vector<RecordedPhrase> &record, const WordSuffixIndex &index);

    bool keeps(std::size_t phrase) const;

private:
    void findPrefixBlocks();
    std::uint32_t firstPlainContinuation(const RecordedPhrase &p) const;
    std::uint32_t endOfLongerLastWords(const RecordedPhrase &p) const;

    const std::vector<RecordedPhrase> &record_;
    const WordSuffixIndex &index_;
    // Last word number whose spelling begins with the spelling of this one.
    std::vector<std::uint32_t> prefixBlockEnd_;
    // Words numbered below this begin with an apostrophe.
    std::uint32_t apostropheWords_ = 0;
};

} // namespace wordloom
