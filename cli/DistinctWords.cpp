#include "DistinctWords.h"

#include "CodeUnitOrder.h"

#include <algorithm>

namespace wordloom::cli {

void DistinctWords::add(QStringView word)
{
    std::uint32_t &number = table_.slotFor(word, words_);
    if (number == 0) {
        words_.push_back(keep(word));
        counts_.push_back(0);
        number = std::uint32_t(words_.size());
    }
    ++counts_[number - 1];
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
    for (const std::uint32_t index : stableCodeUnitOrder(words_))
        sink(words_[index], counts_[index]);
    blocks_.clear();
    free_ = nullptr;
    blockLeft_ = 0;
    unitBytes_ = 0;
    words_.clear();
    counts_.clear();
    table_ = ops::WordTable();
}

} // namespace wordloom::cli
