#pragma once

#include "SortWordsSteps.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace wordloom::cli {

// The distinct words of a stream of pieces, each with how often it occurs.
// The words are copied into blocks that never move, so the pieces may go.
class DistinctWords {
public:
    void add(QStringView word);
    // Sort Words' steps on one piece of text, up to the counting of its
    // words: hyphen line breaks joined, runs of A-Z and a-z, each added.
    void addWordsOf(QString text);
    bool empty() const { return counts_.words().empty(); }
    // About the memory held: the words' units and what each word costs besides
    // (the last block's unused end, at most 2 MiB, not counted).
    std::size_t bytes() const { return unitBytes_ + counts_.words().size() * kBytesPerWord; }
    // What a word of that many units adds to bytes() when it is new.
    static constexpr std::size_t bytesFor(qsizetype units) { return std::size_t(units) * sizeof(char16_t) + kBytesPerWord; }
    // Each word with its count in ascending binary order; then none is held.
    void drainSorted(const std::function<void(QStringView word, qsizetype count)> &sink);

private:
    static constexpr std::size_t kBytesPerWord = 48; // view, count, order and table slots
    static constexpr qsizetype kBlockUnits = qsizetype(1) << 20;
    QStringView keep(QStringView word);

    std::vector<std::unique_ptr<char16_t[]>> blocks_;
    char16_t *free_ = nullptr; // the last block's unused end
    qsizetype blockLeft_ = 0;
    std::size_t unitBytes_ = 0;
    ops::WordCounts counts_;
};

} // namespace wordloom::cli
