#include "PhraseRecord.h"

#include "LargePages.h"

namespace wordloom {

void PhraseRecord::add(std::uint64_t key, const RecordedPhrase &phrase)
{
    if ((phrases_.size() + 1) * 2 > slots_.size())
        rehash(slots_.size() * 2);
    insert({std::uint32_t(key), phrase.lo, phrase.hi, phrase.words});
    phrases_.push_back(phrase);
}

void PhraseRecord::insert(const Slot &slot)
{
    // The table is at least 1024 slots and at most 2^32, so the slot number
    // comes from the key's low half, which the slot keeps.
    std::size_t i = slot.key & mask_;
    while (slots_[i].words != 0)
        i = (i + 1) & mask_;
    slots_[i] = slot;
}

void PhraseRecord::rehash(std::size_t capacity)
{
    auto old = std::move(slots_);
    // Look-ups land anywhere in the table: large pages spare most of the
    // address translations they would miss.
    slots_ = {};
    reserveLarge(slots_, capacity);
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
    for (const auto &slot : old)
        if (slot.words != 0)
            insert(slot);
}

} // namespace wordloom
