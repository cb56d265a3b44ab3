#include "PhraseRecord.h"

namespace wordloom {

void PhraseRecord::add(std::uint64_t key, const RecordedPhrase &phrase)
{
    if ((phrases_.size() + 1) * 2 > slots_.size())
        rehash(slots_.size() * 2);
    lowKeys_.push_back(std::uint32_t(key));
    insert((key >> 32) << 32 | phrases_.size());
    phrases_.push_back(phrase);
}

void PhraseRecord::insert(std::uint64_t slot)
{
    std::size_t i = lowKeys_[std::uint32_t(slot)] & mask_;
    while (slots_[i] != kEmpty)
        i = (i + 1) & mask_;
    slots_[i] = slot;
}

void PhraseRecord::rehash(std::size_t capacity)
{
    auto old = std::move(slots_);
    slots_.assign(capacity, kEmpty);
    mask_ = capacity - 1;
    for (const auto slot : old)
        if (slot != kEmpty)
            insert(slot);
}

} // namespace wordloom
