#pragma once

#include <QStringView>

#include <functional>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace wordloom {

// A half-open range of suffix ranks: the occurrences of one phrase.
struct WordRange {
    std::uint32_t lo = 0;
    std::uint32_t hi = 0;
    bool empty() const { return lo >= hi; }
};

// The words of a cleaned text as numbers, numbered in binary order of their
// spelling, with a suffix array over the word sequence. All occurrences of a
// phrase (a run of words) are then one range of suffix ranks, and a phrase is
// identified by its range and its length in words.
class WordSuffixIndex {
public:
    // cleanedText: words separated by spaces; runs of spaces are skipped.
    // betweenPhases, if given, runs between the numbering, the suffix array
    // and the shared lengths, and within each every million words or so
    // (on the calling thread only).
    explicit WordSuffixIndex(QStringView cleanedText, const std::function<void()> &betweenPhases = {});

    std::uint32_t wordCount() const { return std::uint32_t(ids_.size()); }
    std::uint32_t distinctWords() const { return std::uint32_t(spellings_.size()); }
    std::uint32_t id(std::uint32_t position) const { return ids_[position]; }
    QStringView spelling(std::uint32_t id) const { return spellings_[id]; }

    std::uint32_t suffixAt(std::uint32_t rank) const { return suffixes_[rank]; }
    std::uint32_t rankOf(std::uint32_t position) const { return ranks_[position]; }
    // Words shared by the suffixes at rank - 1 and rank (0 for rank 0).
    std::uint32_t sharedWithPrevious(std::uint32_t rank) const { return shared_[rank]; }
    // How many words from position on also occur, in that order, somewhere
    // else: the phrase of that many words or fewer from there repeats.
    std::uint32_t repeatedFrom(std::uint32_t position) const { return repeated_[position]; }
    // The word at offset depth of the suffix at rank, or -1 past the text's end.
    std::int64_t wordAfter(std::uint32_t rank, std::uint32_t depth) const;

    // All occurrences of the word numbered id.
    WordRange ofWord(std::uint32_t id) const { return {firstRankOfWord_[id], firstRankOfWord_[id + 1]}; }
    // The depth-word phrase that begins the suffix at rank: all its occurrences.
    // Costs one step per occurrence.
    WordRange around(std::uint32_t rank, std::uint32_t depth) const;
    // The same, or nothing when it has more than about 2 * steps occurrences.
    std::optional<WordRange> aroundWithin(std::uint32_t rank, std::uint32_t depth, std::uint32_t steps) const;
    // Within range (suffixes that agree on depth words), those whose next word is id.
    WordRange narrow(WordRange range, std::uint32_t depth, std::uint32_t id) const;
    // Occurrences of the phrase made of the words at these positions, in this order.
    WordRange rangeOf(std::span<const std::uint32_t> positions) const;

private:
    using Pause = std::function<void()>;
    void numberWords(QStringView cleanedText, const Pause &pause);
    void buildSuffixArray(const Pause &pause);
    void buildSharedLengths(const Pause &pause);
    void sharedLengthsFrom(std::uint32_t begin, std::uint32_t end);
    void repeatsFrom(std::uint32_t begin, std::uint32_t end);

    std::vector<QStringView> spellings_;
    std::vector<std::uint32_t> ids_;
    std::vector<std::uint32_t> suffixes_;
    std::vector<std::uint32_t> ranks_;
    std::vector<std::uint32_t> shared_;
    // In text order, so that a walk along the text reads it in order.
    std::vector<std::uint32_t> repeated_;
    std::vector<std::uint32_t> firstRankOfWord_;
};

} // namespace wordloom
