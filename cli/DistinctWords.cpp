#include "DistinctWords.h"

#include "TextViews.h"

#include <algorithm>

namespace wordloom::cli {

void DistinctWords::add(QStringView word)
{
    // The piece goes once it is counted: a new word is copied.
    counts_.add(word, [this](QStringView seen) { return keep(seen); });
}

void DistinctWords::addWordsOf(QString text)
{
    ops::removeHyphenBreaks(text);
    const QString cleaned = ops::lettersAndSpaces(text);
    text = QString(); // the piece goes before its words are copied
    ops::forEachWord(cleaned, [this](QStringView word) { add(word); });
}

QStringView DistinctWords::keep(QStringView word)
{
    if (word.size() > blockLeft_) {
        const qsizetype size = std::max(word.size(), kBlockUnits);
        blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(std::size_t(size)));
        free_ = blocks_.back().get();
        blockLeft_ = size;
    }
    unitBytes_ += std::size_t(word.size()) * sizeof(char16_t);
    const QStringView kept(free_, word.size());
    free_ = std::copy(word.utf16(), word.utf16() + word.size(), free_);
    blockLeft_ -= word.size();
    return kept;
}

void DistinctWords::drainSorted(const std::function<void(QStringView, qsizetype)> &sink)
{
    for (const std::uint32_t index : counts_.sortedOrder())
        sink(counts_.words()[index], counts_.counts()[index]);
    blocks_.clear();
    free_ = nullptr;
    blockLeft_ = 0;
    unitBytes_ = 0;
    counts_ = ops::WordCounts();
}

} // namespace wordloom::cli
