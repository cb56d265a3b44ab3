#pragma once

#include "PhraseWalk.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wordloom {

// The recorded phrases in walk order, with an open-addressing table keyed by
// a hash of their word numbers. A slot carries the phrase's occurrences and
// length beside part of its key, so that a look-up touches one cache line.
class PhraseRecord {
public:
    PhraseRecord() { rehash(1024); }

    // True when a recorded phrase with this key has same(phrase); the
    // phrase passed carries no count.
    template <typename Same>
    bool contains(std::uint64_t key, Same same) const
    {
        const auto check = std::uint32_t(key);
        for (std::size_t i = check & mask_; slots_[i].words != 0; i = (i + 1) & mask_)
            if (slots_[i].key == check && same(RecordedPhrase{slots_[i].lo, slots_[i].hi, slots_[i].words, 0}))
                return true;
        return false;
    }

    // Brings the slot of this key towards the cache ahead of its look-up.
    void prefetch(std::uint64_t key) const { __builtin_prefetch(&slots_[std::uint32_t(key) & mask_]); }

    void add(std::uint64_t key, const RecordedPhrase &phrase);
    std::vector<RecordedPhrase> release() { return std::move(phrases_); }

private:
    // words == 0 marks an empty slot: recorded phrases have two words or more.
    struct Slot {
        std::uint32_t key = 0;
        std::uint32_t lo = 0;
        std::uint32_t hi = 0;
        std::uint32_t words = 0;
    };

    void insert(const Slot &slot);
    void rehash(std::size_t capacity);

    std::vector<RecordedPhrase> phrases_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

} // namespace wordloom
