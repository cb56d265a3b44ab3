#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wordloom {

// Watches the walk of Phrase Count and stops it with CommandError as soon as
// its result, its record or its work is certain to exceed what it may take.
// The bound on the result only grows during the walk and never exceeds the
// real result: a text whose result fits is never refused for its size.
class PhraseBudget {
public:
    // budgetBytes: the most the result may take as UTF-16.
    // workLimit: the most counting steps the walk may take on a short text
    // (fewer on a long one, see kWorkHalvedAtTextUnits). textUnits: the length
    // of the cleaned text; the record may take a few times its size on top of
    // the least size of the result.
    PhraseBudget(std::size_t budgetBytes, std::uint64_t workLimit, std::uint64_t textUnits);

    // Before the walk: it is certain to record at least this many phrases,
    // the longest this long, beginning with this many different words. Stops
    // at once what the walk would stop later.
    void expect(std::uint64_t phrases, std::int64_t longestChars, std::uint64_t firstWords) const;
    // Whether expect would stop at such figures.
    bool refuses(std::uint64_t phrases, std::int64_t longestChars, std::uint64_t firstWords) const;
    // A phrase was recorded: its first word, its count, its length in characters.
    void recorded(std::uint32_t firstWord, std::uint32_t count, std::int64_t chars);
    // Counting examined this many occurrences or positions.
    void worked(std::uint64_t steps)
    {
        work_ += steps;
        if (work_ > workLimit_)
            failOnWork();
    }

    // The least size in bytes the result can have, given what was recorded.
    std::uint64_t resultLowerBound() const;

private:
    [[noreturn]] void failOnResult(std::uint64_t lines, std::int64_t longest, std::uint32_t largestCount) const;
    [[noreturn]] void failOnRecord(std::uint64_t phrases, std::int64_t longest, std::uint64_t memory) const;
    [[noreturn]] void failOnWork() const;
    [[noreturn]] void failOnRecordTime(std::uint64_t phrases, std::int64_t longest, const char *howMany) const;
    enum class Refusal { None, List, RecordMemory, RecordTime };
    Refusal refusalFor(std::uint64_t phrases, std::int64_t longestChars, std::uint64_t firstWords) const;
    bool addLinePair(std::uint64_t key);

    std::uint64_t recordLimit() const;
    // The most the record may take as the walk goes, whatever it finds.
    std::uint64_t mostRecord() const;
    // Bytes of the list, at least, for this many lines as wide as the
    // longest phrase with a count of one digit.
    static std::uint64_t listBytes(std::uint64_t lines, std::int64_t longest);

    std::size_t budget_;
    std::uint64_t workLimit_;
    std::uint64_t textUnits_;
    std::uint64_t work_ = 0;
    std::uint64_t phrases_ = 0;
    std::int64_t longest_ = 0;
    std::uint32_t largestCount_ = 0;
    // Distinct (first word, count) pairs: each needs a line of its own.
    std::vector<std::uint64_t> pairs_;
    std::size_t pairCount_ = 0;
};

// Bytes the record takes per recorded phrase, growth and look-up table included.
inline constexpr std::size_t kRecordBytesPerPhrase = 48;
// The record may take this many bytes per character of the text, beyond the
// least size of the result: peak memory stays near the result plus ten times
// the text.
inline constexpr std::uint64_t kRecordBytesPerTextUnit = 6;
// ... and at least this much, for short texts.
inline constexpr std::uint64_t kLeastRecordBytes = std::uint64_t(64) << 20;
// The allowance of counting steps shrinks as the text grows: a step over a
// larger index misses the cache more often, and the index itself takes
// longer to build. Half the allowance is left for a text of this many
// characters.
inline constexpr std::uint64_t kWorkHalvedAtTextUnits = 2'500'000;

// A post and a look-up in the record, in counting steps.
inline constexpr std::uint64_t kWorkPerCandidate = 4;

// Counting steps Phrase Count may take on a short text: a second or two of
// work on a slow machine (the Bible takes some 24 million of the 220
// million it is allowed).
inline constexpr std::uint64_t kDefaultPhraseWork = 600'000'000;

// Phrases the walk may record: once the record outgrows the cache each one
// costs about half a microsecond, so this many take a second or two.
inline constexpr std::uint64_t kMostRecordedPhrases = 3'500'000;

// "2.1 GB", "340 MB", "12 KB": a size for people.
std::string readableBytes(std::uint64_t bytes);

} // namespace wordloom
