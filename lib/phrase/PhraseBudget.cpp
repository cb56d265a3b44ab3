#include "PhraseBudget.h"

#include "CommandError.h"

#include <algorithm>

namespace wordloom {

namespace {
const std::string kPrefix = "The text is too repetitive for Phrase Count: ";
constexpr std::uint64_t kNoPair = ~std::uint64_t(0);

std::string grouped(std::uint64_t value)
{
    std::string digits = std::to_string(value), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::uint64_t mixed(std::uint64_t key)
{
    key ^= key >> 31;
    key *= 0xBF58476D1CE4E5B9ull;
    return key ^ (key >> 29);
}

std::uint64_t digitCount(std::uint64_t value)
{
    std::uint64_t digits = 1;
    for (; value >= 10; value /= 10)
        ++digits;
    return digits + (digits - 1) / 3;
}
} // namespace

std::string readableBytes(std::uint64_t bytes)
{
    const char *units[] = {"bytes", "KB", "MB", "GB", "TB", "PB", "EB"};
    double value = double(bytes);
    int unit = 0;
    while (value >= 1000 && unit < 6)
        value /= 1000, ++unit;
    char text[32];
    std::snprintf(text, sizeof text, value < 10 && unit > 0 ? "%.1f %s" : "%.0f %s", value, units[unit]);
    return text;
}

PhraseBudget::PhraseBudget(std::size_t budgetBytes, std::uint64_t workLimit, std::uint64_t textUnits)
    : budget_(budgetBytes),
      workLimit_(std::uint64_t(double(workLimit) * double(kWorkHalvedAtTextUnits)
                               / double(kWorkHalvedAtTextUnits + textUnits))),
      textUnits_(textUnits), pairs_(1024, kNoPair)
{
}

std::uint64_t PhraseBudget::recordLimit() const
{
    const std::uint64_t forText = kRecordBytesPerTextUnit * textUnits_ + resultLowerBound();
    return std::max(kLeastRecordBytes, forText);
}


bool PhraseBudget::addLinePair(std::uint64_t key)
{
    std::size_t mask = pairs_.size() - 1;
    for (std::size_t i = mixed(key) & mask;; i = (i + 1) & mask) {
        if (pairs_[i] == key)
            return false;
        if (pairs_[i] == kNoPair) {
            pairs_[i] = key;
            break;
        }
    }
    if (++pairCount_ * 2 > pairs_.size()) {
        std::vector<std::uint64_t> old(pairs_.size() * 2, kNoPair);
        old.swap(pairs_);
        mask = pairs_.size() - 1;
        for (const auto k : old)
            if (k != kNoPair) {
                std::size_t i = mixed(k) & mask;
                while (pairs_[i] != kNoPair)
                    i = (i + 1) & mask;
                pairs_[i] = k;
            }
    }
    return true;
}

std::uint64_t PhraseBudget::mostRecord() const
{
    return std::max(kLeastRecordBytes, kRecordBytesPerTextUnit * textUnits_ + budget_);
}

PhraseBudget::Refusal PhraseBudget::refusalFor(std::uint64_t phrases, std::int64_t longestChars,
                                               std::uint64_t firstWords) const
{
    if (firstWords > 0 && listBytes(firstWords, longestChars) > budget_)
        return Refusal::List;
    if (phrases * kRecordBytesPerPhrase > mostRecord())
        return Refusal::RecordMemory;
    if (phrases > kMostRecordedPhrases)
        return Refusal::RecordTime;
    return Refusal::None;
}

bool PhraseBudget::refuses(std::uint64_t phrases, std::int64_t longestChars, std::uint64_t firstWords) const
{
    return refusalFor(phrases, longestChars, firstWords) != Refusal::None;
}

void PhraseBudget::expect(std::uint64_t phrases, std::int64_t longestChars, std::uint64_t firstWords) const
{
    switch (refusalFor(phrases, longestChars, firstWords)) {
    case Refusal::None:
        return;
    case Refusal::List:
        failOnResult(firstWords, longestChars, 2);
    case Refusal::RecordMemory:
        failOnRecord(phrases, longestChars, mostRecord());
    case Refusal::RecordTime:
        failOnRecordTime(phrases, longestChars, "at least ");
    }
}

void PhraseBudget::recorded(std::uint32_t firstWord, std::uint32_t count, std::int64_t chars)
{
    ++phrases_;
    if (phrases_ > kMostRecordedPhrases)
        failOnRecordTime(phrases_, std::max(longest_, chars), "more than ");
    if (phrases_ * kRecordBytesPerPhrase > recordLimit())
        failOnRecord(phrases_, std::max(longest_, chars), recordLimit());
    const bool longer = chars > longest_;
    longest_ = std::max(longest_, chars);
    largestCount_ = std::max(largestCount_, count);
    const bool newLine = addLinePair(std::uint64_t(firstWord) << 32 | count);
    if ((longer || newLine) && resultLowerBound() > budget_)
        failOnResult(pairCount_, longest_, largestCount_);
}

// Every recorded phrase is listed, or dropped for a longer phrase with the
// same count that begins with it, so with the same first word: each distinct
// (first word, count) pair is at least one line, and every line is as wide as
// the longest recorded phrase plus two spaces, a count and CR LF.
std::uint64_t PhraseBudget::resultLowerBound() const
{
    return listBytes(pairCount_, longest_);
}

std::uint64_t PhraseBudget::listBytes(std::uint64_t lines, std::int64_t longest)
{
    const std::uint64_t width = std::uint64_t(longest) + 2 + 1 + 2;
    return 2 * lines * width;
}

void PhraseBudget::failOnResult(std::uint64_t lines, std::int64_t longest, std::uint32_t largestCount) const
{
    throw CommandError(kPrefix + "its list of phrases would take more than "
                       + readableBytes(listBytes(lines, longest)) + " (at least " + grouped(lines)
                       + " lines of " + grouped(std::uint64_t(longest) + 2 + digitCount(largestCount))
                       + " characters), beyond the " + readableBytes(budget_) + " allowed.");
}

void PhraseBudget::failOnRecord(std::uint64_t phrases, std::int64_t longest, std::uint64_t memory) const
{
    throw CommandError(kPrefix + "it repeats long passages so often that it has at least "
                       + grouped(phrases) + " repeated phrases, the longest " + grouped(std::uint64_t(longest))
                       + " characters long; counting them would need more than " + readableBytes(memory)
                       + " of memory.");
}

void PhraseBudget::failOnWork() const
{
    throw CommandError(kPrefix + "counting its repeated passages would take more than the "
                       + grouped(workLimit_) + " counting steps allowed (a second or two); "
                       + grouped(phrases_) + " repeated phrases were found before it stopped, the longest "
                       + grouped(std::uint64_t(longest_)) + " characters long.");
}

void PhraseBudget::failOnRecordTime(std::uint64_t phrases, std::int64_t longest, const char *howMany) const
{
    throw CommandError(kPrefix + "it has " + howMany + grouped(phrases) + " repeated phrases, the longest "
                       + grouped(std::uint64_t(longest)) + " characters long; recording more than "
                       + grouped(kMostRecordedPhrases) + " would take more than a second or two.");
}

} // namespace wordloom
