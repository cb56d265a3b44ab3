#include "WordTable.h"

#include "BinaryOrder.h"

namespace wordloom::ops {

std::uint32_t WordTable::hashOf(QStringView word)
{
    std::uint64_t h = 0xcbf29ce484222325ULL; // FNV-1a, then mixed
    for (const QChar c : word)
        h = (h ^ c.unicode()) * 0x100000001b3ULL;
    h ^= h >> 29;
    h *= 0xbf58476d1ce4e5b9ULL;
    return std::uint32_t(h >> 32);
}

std::uint32_t &WordTable::slotFor(QStringView word, const std::vector<QStringView> &words)
{
    if (2 * (used_ + 1) > slots_.size())
        grow();
    const std::uint32_t hash = hashOf(word);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot &slot = slots_[i];
        if (slot.number == 0) {
            slot.hash = hash;
            ++used_;
            return slot.number;
        }
        if (slot.hash == hash && codeUnits(words[slot.number - 1]) == codeUnits(word))
            return slot.number;
    }
}

void WordTable::grow()
{
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot &slot : old) {
        if (slot.number == 0)
            continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].number != 0)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

} // namespace wordloom::ops
