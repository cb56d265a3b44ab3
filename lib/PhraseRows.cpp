#include "PhraseRows.h"

#include "PhraseBudget.h"
#include "CommandError.h"

#include <algorithm>

namespace wordloom {

namespace {

QString phraseText(const WalkText &text, const RecordedPhrase &p)
{
    const std::uint32_t first = text.index.suffixAt(p.lo);
    QString phrase;
    phrase.reserve(qsizetype(text.scanStart[first + p.words] - text.scanStart[first] - 1));
    for (std::uint32_t k = first; k < first + p.words; ++k) {
        if (k > first)
            phrase.append(u' ');
        phrase.append(text.index.spelling(text.index.id(k)));
    }
    return phrase;
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

std::size_t rowBytes(const WalkText &text, const RecordedPhrase &p)
{
    const std::uint32_t first = text.index.suffixAt(p.lo);
    return 2 * std::size_t(text.scanStart[first + p.words] - text.scanStart[first]) + 64;
}

} // namespace

FrequencyTable keptRows(const WalkText &text, const std::vector<RecordedPhrase> &record,
                        const std::vector<bool> &kept, bool byCount, std::size_t budgetBytes)
{
    std::vector<RecordedPhrase> rows;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < record.size(); ++i)
        if (kept[i]) {
            rows.push_back(record[i]);
            bytes += rowBytes(text, record[i]);
        }
    if (bytes > budgetBytes)
        throw CommandError("The text is too repetitive for Phrase Count: its phrases alone would take "
                           + readableBytes(bytes) + ", beyond the " + readableBytes(budgetBytes) + " allowed.");
    if (!byCount)
        std::sort(rows.begin(), rows.end(), ListedOrder(text.index));
    FrequencyTable table;
    table.reserve(rows.size());
    for (const auto &row : rows)
        table.push_back({phraseText(text, row), row.count});
    return table;
}

} // namespace wordloom
