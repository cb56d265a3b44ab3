#pragma once

#include "WordTable.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <vector>

// Sort Words' steps on one piece of text, shared by the command on the whole
// text and by the batch companion's runs over a text a piece at a time:
// hyphen breaks joined (removeHyphenBreaks), the cleaning, the splitting into
// words and the counting of the distinct words.
namespace wordloom::ops {

// The cleaning: every character but A-Z, a-z and the space becomes a space.
QString lettersAndSpaces(const QString &dehyphenated);

// The splitting: each non-empty run between spaces of a cleaned text, in order.
template <typename Take>
void forEachWord(QStringView cleaned, Take &&take)
{
    // Words are short: a plain scan beats a search call per word.
    const char16_t *const units = cleaned.utf16();
    const qsizetype n = cleaned.size();
    for (qsizetype start = 0; start < n;) {
        qsizetype end = start;
        while (end < n && units[end] != u' ')
            ++end;
        if (end > start)
            take(cleaned.sliced(start, end - start));
        start = end + 1;
    }
}

// The counting: the distinct words in order of first sight, each with how
// often it occurs. Equal words cannot be told apart in a listing, so the
// listing sorts these and repeats each its count of times.
class WordCounts {
public:
    // Counts the word; a word not seen before is kept as keep(word) gives it
    // (the word itself when the text outlives the counts, else a copy).
    template <typename Keep>
    void add(QStringView word, Keep &&keep)
    {
        std::uint32_t &number = table_.slotFor(word, words_);
        if (number == 0) {
            words_.push_back(keep(word));
            counts_.push_back(0);
            number = std::uint32_t(words_.size());
        }
        ++counts_[number - 1];
    }
    void add(QStringView word)
    {
        add(word, [](QStringView kept) { return kept; });
    }

    const std::vector<QStringView> &words() const { return words_; }
    const std::vector<qsizetype> &counts() const { return counts_; }
    // The words' indexes in ascending binary order.
    std::vector<std::uint32_t> sortedOrder() const;

private:
    std::vector<QStringView> words_;
    std::vector<qsizetype> counts_;
    WordTable table_;
};

// A cleaned text's words, counted; `between`, if given, runs between slices
// of a few million characters, each ending at a space.
WordCounts countedWords(QStringView cleaned, const std::function<void()> &between = {});

} // namespace wordloom::ops
