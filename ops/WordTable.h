#pragma once

#include <QStringView>

#include <cstdint>
#include <vector>

namespace wordloom::ops {

// An open-addressing table from a word to its 1-based number in a list of
// distinct words (0: not seen yet). Leaner than a general hash for the
// millions of short lookups that listing the words of a book takes.
class WordTable {
public:
    // The number slot of `word`; a new word gets a slot holding 0, which the
    // caller sets to the word's position in `words` plus one.
    std::uint32_t &slotFor(QStringView word, const std::vector<QStringView> &words);

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t number = 0;
    };
    static std::uint32_t hashOf(QStringView word);
    void grow();

    std::vector<Slot> slots_ = std::vector<Slot>(1024);
    std::size_t used_ = 0;
};

} // namespace wordloom::ops
