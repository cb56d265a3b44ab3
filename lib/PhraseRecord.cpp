#include "PhraseRecord.h"

namespace wordloom {

void PhraseRecord::add(std::uint64_t key, const RecordedPhrase &phrase)
{
    if ((phrases_.size() + 1) * 2 > slots_.size())
        rehash(slots_.size() * 2);
    insert(key, std::uint32_t(phrases_.size()));
    phrases_.push_back(phrase);
}

void PhraseRecord::insert(std::uint64_t key, std::uint32_t slot)
{
    std::size_t i = key & mask_;
    while (slots_[i] != kEmpty)
        i = (i + 1) & mask_;
    keys_[i] = key;
    slots_[i] = slot;
}

void PhraseRecord::rehash(std::size_t capacity)
{
    auto oldKeys = std::move(keys_);
    auto oldSlots = std::move(slots_);
    keys_.assign(capacity, 0);
    slots_.assign(capacity, kEmpty);
    mask_ = capacity - 1;
    for (std::size_t i = 0; i < oldSlots.size(); ++i)
        if (oldSlots[i] != kEmpty)
            insert(oldKeys[i], oldSlots[i]);
}

} // namespace wordloom
