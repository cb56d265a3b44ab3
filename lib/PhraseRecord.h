#pragma once

#include "PhraseWalk.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wordloom {

// The recorded phrases in walk order, with an open-addressing table keyed by
// a hash of their word numbers.
class PhraseRecord {
public:
    PhraseRecord() { rehash(1024); }

    // The recorded phrase with this key for which same(phrase) holds.
    template <typename Same>
    bool contains(std::uint64_t key, Same same) const
    {
        for (std::size_t i = key & mask_; slots_[i] != kEmpty; i = (i + 1) & mask_)
            if (keys_[i] == key && same(phrases_[slots_[i]]))
                return true;
        return false;
    }

    void add(std::uint64_t key, const RecordedPhrase &phrase);
    std::vector<RecordedPhrase> release() { return std::move(phrases_); }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    void insert(std::uint64_t key, std::uint32_t slot);
    void rehash(std::size_t capacity);

    std::vector<RecordedPhrase> phrases_;
    std::vector<std::uint64_t> keys_;
    std::vector<std::uint32_t> slots_;
    std::size_t mask_ = 0;
};

} // namespace wordloom
