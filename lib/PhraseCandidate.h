#pragma once

#include "PhraseWalk.h"
#include "WordSuffixIndex.h"

#include <cstdint>
#include <vector>

namespace wordloom {

// The candidate phrase P of the walk as the positions of its words in the
// text. Usually a run of consecutive words; the walk can also glue words
// from two places. Its occurrences are found when they are needed, from
// those of the phrase one word shorter where they are known.
class PhraseCandidate {
public:
    void clear();
    void append(std::uint32_t position, const WordSuffixIndex &index);

    // All occurrences of P in the text.
    WordRange occurrences(const WordSuffixIndex &index);
    // True when P is the phrase recorded with these occurrences and length.
    bool is(const RecordedPhrase &phrase) const;

    const std::vector<std::uint32_t> &positions() const { return positions_; }
    std::uint32_t words() const { return std::uint32_t(positions_.size()); }
    bool empty() const { return positions_.empty(); }
    bool contiguous() const { return contiguous_; }
    std::int64_t chars() const { return chars_; }
    std::uint64_t key() const;

private:
    std::vector<std::uint32_t> positions_;
    std::int64_t chars_ = 0;
    std::uint64_t hash_ = 0;
    bool contiguous_ = true;
    // Where the suffix at P's first word stands in suffix order.
    std::uint32_t firstRank_ = 0;
    // range_ holds the occurrences of P's first rangeWords_ words.
    std::uint32_t rangeWords_ = 0;
    WordRange range_;
};

} // namespace wordloom
