#include "CodeUnitOrder.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace wordloom {

int compareCodeUnits(QStringView a, QStringView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const char16_t *pa = a.utf16();
    const char16_t *pb = b.utf16();
    for (qsizetype i = 0; i < common; ++i) {
        if (pa[i] != pb[i])
            return pa[i] < pb[i] ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

namespace {

// Items are sorted by a 64-bit key that holds three code units from `depth`
// on (zero-padded) and, in its low bits, how many units remain there
// (0..3, or 4 for "more"). Keys order exactly as the strings do whenever
// they differ; equal keys with fewer than four remaining units mean equal
// strings, and equal keys with more go on to the next three units.
constexpr qsizetype kUnitsPerKey = 3;
constexpr std::uint64_t kMore = kUnitsPerKey + 1;

struct Entry {
    std::uint64_t key;
    std::uint32_t index;

    bool operator<(const Entry &other) const
    {
        return key != other.key ? key < other.key : index < other.index;
    }
};

std::uint64_t keyAt(QStringView item, qsizetype depth)
{
    const qsizetype left = item.size() - depth;
    const char16_t *p = item.utf16() + depth;
    std::uint64_t key = 0;
    for (qsizetype k = 0; k < kUnitsPerKey; ++k)
        key = (key << 16) | (k < left ? p[k] : 0u);
    return (key << 16) | std::uint64_t(std::min<qsizetype>(left, kMore));
}

struct Group {
    std::size_t begin, end;
    qsizetype depth;
};

// Sorts one group whose members share their first `depth` units and stand in
// index order, then queues the subgroups that still tie.
void sortGroup(std::span<const QStringView> items, std::vector<Entry> &entries,
               const Group &group, std::vector<Group> &pending)
{
    const auto first = entries.begin() + std::ptrdiff_t(group.begin);
    const auto last = entries.begin() + std::ptrdiff_t(group.end);
    for (auto it = first; it != last; ++it)
        it->key = keyAt(items[it->index], group.depth);
    if (!std::is_sorted(first, last))
        std::sort(first, last);
    for (auto it = first; it != last;) {
        auto tieEnd = it + 1;
        while (tieEnd != last && tieEnd->key == it->key)
            ++tieEnd;
        if (tieEnd - it > 1 && (it->key & 0xFFFF) == kMore) {
            pending.push_back({std::size_t(it - entries.begin()),
                               std::size_t(tieEnd - entries.begin()),
                               group.depth + kUnitsPerKey});
        }
        it = tieEnd;
    }
}

} // namespace

std::vector<std::uint32_t> stableCodeUnitOrder(std::span<const QStringView> items)
{
    if (items.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many items to sort");
    std::vector<Entry> entries(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        entries[i].index = std::uint32_t(i);
    // Within every tie the index breaks it, so each group stays in index
    // order and the result is stable.
    std::vector<Group> pending{{0, entries.size(), 0}};
    while (!pending.empty()) {
        const Group group = pending.back();
        pending.pop_back();
        sortGroup(items, entries, group, pending);
    }
    std::vector<std::uint32_t> order(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k)
        order[k] = entries[k].index;
    return order;
}

} // namespace wordloom
