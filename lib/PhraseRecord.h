#pragma once

#include "PhraseWalk.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wordloom {

// The recorded phrases in walk order, with an open-addressing table keyed by
// a hash of their word numbers. A slot holds the hash's high half and the
// phrase's number in one word, so that a look-up costs one cache miss.
class PhraseRecord {
public:
    PhraseRecord() { rehash(1024); }

    // The recorded phrase with this key for which same(phrase) holds.
    template <typename Same>
    bool contains(std::uint64_t key, Same same) const
    {
        const std::uint64_t high = key >> 32;
        for (std::size_t i = key & mask_; slots_[i] != kEmpty; i = (i + 1) & mask_)
            if (slots_[i] >> 32 == high && same(phrases_[std::uint32_t(slots_[i])]))
                return true;
        return false;
    }

    void add(std::uint64_t key, const RecordedPhrase &phrase);
    std::vector<RecordedPhrase> release() { return std::move(phrases_); }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t(0);

    void insert(std::uint64_t slot);
    void rehash(std::size_t capacity);

    std::vector<RecordedPhrase> phrases_;
    // Kept for growing the table: the hash's low half picks the slot.
    std::vector<std::uint32_t> lowKeys_;
    std::vector<std::uint64_t> slots_;
    std::size_t mask_ = 0;
};

} // namespace wordloom
