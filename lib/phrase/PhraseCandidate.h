#pragma once

#include "PhraseWalk.h"
#include "WordSuffixIndex.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace wordloom {

inline constexpr std::uint32_t kNowhere = 0xFFFFFFFFu;

class PhraseRunIndex;

// Consecutive words of the text: [start, start + words).
struct WordRun {
    std::uint32_t start = 0;
    std::uint32_t words = 0;
    std::uint32_t end() const { return start + words; }
};

// The candidate phrase P of the walk as runs of consecutive words of the
// text. Usually one run; the walk can also glue words from two places. Its
// occurrences are found when they are needed, from those of the phrase one
// word shorter where they are known.
class PhraseCandidate {
public:
    void clear();
    void append(std::uint32_t position, const WordSuffixIndex &index);
    // Appends the `words` words that follow P's one run in the text, `chars`
    // characters with their spaces.
    void appendRun(std::uint32_t words, std::int64_t chars, const PhraseRunIndex &runs);

    // Where P's only occurrence begins (kNowhere when it has none), or
    // nothing when it occurs twice or more. Costs no search.
    std::optional<std::uint32_t> singleOccurrence(const WordSuffixIndex &index) const;
    // All occurrences of P in the text; runs, when given, finds those of a
    // long phrase with very many of them sooner.
    WordRange occurrences(const WordSuffixIndex &index, const PhraseRunIndex *runs = nullptr);
    // True when P is the phrase recorded with these occurrences and length.
    bool is(const RecordedPhrase &phrase) const;

    const std::vector<WordRun> &runs() const { return runs_; }
    std::uint32_t front() const { return runs_.front().start; }
    std::uint32_t words() const { return words_; }
    bool empty() const { return words_ == 0; }
    bool contiguous() const { return runs_.size() <= 1; }
    std::uint32_t firstRank() const { return firstRank_; }
    std::int64_t chars() const { return chars_; }
    std::uint64_t key() const { return keyOf(hash_, words()); }
    // The key is built from the hash of the word numbers: the keys of longer
    // candidates can be worked out ahead.
    std::uint64_t hash() const { return hash_; }
    static constexpr std::uint64_t kHashMultiplier = 0x9E3779B97F4A7C15ull;
    static std::uint64_t nextHash(std::uint64_t hash, std::uint32_t id) { return hash * kHashMultiplier + id + 1; }
    static std::uint64_t keyOf(std::uint64_t hash, std::uint32_t words)
    {
        std::uint64_t x = hash ^ (std::uint64_t(words) * 0xC2B2AE3D27D4EB4Full);
        x ^= x >> 31;
        x *= 0xBF58476D1CE4E5B9ull;
        x ^= x >> 29;
        return x;
    }

private:
    std::uint32_t wordAt(std::uint32_t k) const;

    std::vector<WordRun> runs_;
    std::uint32_t words_ = 0;
    std::int64_t chars_ = 0;
    std::uint64_t hash_ = 0;
    // Where the suffix at P's first word stands in suffix order.
    std::uint32_t firstRank_ = 0;
    // range_ holds the occurrences of P's first rangeWords_ words.
    std::uint32_t rangeWords_ = 0;
    WordRange range_;
};

} // namespace wordloom
