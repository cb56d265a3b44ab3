#include "PhraseRows.h"

#include "PhraseBudget.h"
#include "SideBySide.h"
#include "CommandError.h"

#include <algorithm>

namespace wordloom {

namespace {

// The phrase as it stands in the cleaned text at one of its occurrences.
QString phraseText(const WalkText &text, const RecordedPhrase &p)
{
    const std::uint32_t first = text.index.suffixAt(p.lo);
    const std::int64_t start = text.scanStart[first] + text.searchOffset - 2;
    return text.cleaned.mid(qsizetype(start), qsizetype(text.scanStart[first + p.words] - text.scanStart[first] - 1))
        .toString();
}

// Binary order of "phrase - count" on word numbers (spellings are numbered in
// binary order, and words contain no character below the space). A phrase
// continued by more words sorts before them, except before a next word that
// begins with an apostrophe, which sorts before " - ".
class ListedOrder {
public:
    explicit ListedOrder(const WordSuffixIndex &index) : index_(index)
    {
        while (apostropheWords_ < index.distinctWords() && index.spelling(apostropheWords_).startsWith(u'\''))
            ++apostropheWords_;
    }

    bool operator()(const RecordedPhrase &a, const RecordedPhrase &b) const
    {
        if (continues(a, b))
            return !nextIsApostrophe(b, a.words);
        if (continues(b, a))
            return nextIsApostrophe(a, b.words);
        return a.lo < b.lo;
    }

private:
    // b is a with more words: its occurrences lie within a's.
    static bool continues(const RecordedPhrase &a, const RecordedPhrase &b)
    {
        return a.words < b.words && b.lo >= a.lo && b.lo < a.hi;
    }

    bool nextIsApostrophe(const RecordedPhrase &longer, std::uint32_t depth) const
    {
        return index_.wordAfter(longer.lo, depth) < std::int64_t(apostropheWords_);
    }

    const WordSuffixIndex &index_;
    std::uint32_t apostropheWords_ = 0;
};

std::int64_t phraseLength(const WalkText &text, const RecordedPhrase &p)
{
    const std::uint32_t first = text.index.suffixAt(p.lo);
    return text.scanStart[first + p.words] - text.scanStart[first] - 1;
}

std::uint64_t digits(std::uint32_t count)
{
    std::uint64_t n = 1;
    for (; count >= 10; count /= 10)
        ++n;
    return n;
}

// The least size of the listed result as UTF-16: every line as wide as the
// longest phrase plus two, then the count's digits and CR LF.
std::uint64_t leastListBytes(const WalkText &text, const std::vector<RecordedPhrase> &rows)
{
    std::int64_t longest = 0;
    std::uint64_t digitsTotal = 0;
    for (const auto &row : rows) {
        longest = std::max(longest, phraseLength(text, row));
        digitsTotal += digits(row.count);
    }
    return 2 * (rows.size() * std::uint64_t(longest + 4) + digitsTotal);
}

} // namespace

FrequencyTable keptRows(const WalkText &text, const std::vector<RecordedPhrase> &record,
                        const std::vector<std::uint8_t> &kept, bool byCount, std::size_t budgetBytes)
{
    std::vector<RecordedPhrase> rows;
    for (std::size_t i = 0; i < record.size(); ++i)
        if (kept[i])
            rows.push_back(record[i]);
    const std::uint64_t bytes = leastListBytes(text, rows);
    if (bytes > budgetBytes)
        throw CommandError("The text is too repetitive for Phrase Count: its list of phrases would take more than "
                           + readableBytes(bytes - 1) + ", beyond the " + readableBytes(budgetBytes) + " allowed.");
    if (!byCount)
        std::sort(rows.begin(), rows.end(), ListedOrder(text.index));
    // Each row's text is its own copy out of the cleaned text: a large table
    // is filled from both ends at once.
    FrequencyTable table(rows.size());
    const auto fill = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            table[i] = {phraseText(text, rows[i]), rows[i].count};
    };
    constexpr std::size_t kRowsWorthASecondCore = 1 << 15;
    if (rows.size() < kRowsWorthASecondCore) {
        fill(0, rows.size());
        return table;
    }
    const std::size_t half = rows.size() / 2;
    runSideBySide([&] { fill(0, half); }, [&] { fill(half, rows.size()); });
    return table;
}

} // namespace wordloom
