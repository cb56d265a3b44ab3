#include "CodeUnitOrder.h"

#include "LargePages.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>
#include <utility>
#include <limits>
#include <stdexcept>

namespace wordloom {

namespace {

// Items are sorted by a 128-bit key that holds the next units from `depth`
// on (zero-padded: seven 16-bit units, or fifteen UTF-8 bytes) and, in its
// low bits, how many units remain there (up to that many, or one more for
// "more"). Keys order exactly as the strings do whenever they differ; equal
// keys with fewer remaining units than a key holds mean equal strings, and
// equal keys with more go on to the next units. One key settles most items
// in the first round, which reads the text in order.
struct Entry {
    std::uint64_t high, low;
    std::uint32_t index;

    bool sameKey(const Entry &other) const { return high == other.high && low == other.low; }
    bool operator<(const Entry &other) const
    {
        if (high != other.high)
            return high < other.high;
        if (low != other.low)
            return low < other.low;
        return index < other.index;
    }
};

using EntryIt = std::vector<Entry>::iterator;

// Strings of 16-bit code units.
struct Utf16Units {
    using View = QStringView;
    static constexpr qsizetype kUnitsPerKey = 7;
    static constexpr std::uint64_t kCountMask = 0xFFFF;
    static constexpr std::size_t kFirstUnits = std::size_t(1) << 16;

    static const void *at(View item, qsizetype depth) { return item.utf16() + depth; }
    static std::size_t firstUnit(View item) { return item.utf16()[0]; }
    static bool inOrder(View a, View b) { return compareCodeUnits(a, b) <= 0; }
    static void setKey(Entry &entry, View item, qsizetype depth)
    {
        constexpr std::uint64_t kMore = kUnitsPerKey + 1;
        const qsizetype left = item.size() - depth;
        const char16_t *p = item.utf16() + depth;
        const std::uint64_t count = std::uint64_t(std::min<qsizetype>(left, kMore));
        if (left >= kUnitsPerKey) { // the common case, without a test per unit
            using U = std::uint64_t;
            entry.high = U(p[0]) << 48 | U(p[1]) << 32 | U(p[2]) << 16 | U(p[3]);
            entry.low = U(p[4]) << 48 | U(p[5]) << 32 | U(p[6]) << 16 | count;
            return;
        }
        std::uint64_t unit[kUnitsPerKey] = {};
        for (qsizetype k = 0; k < left; ++k)
            unit[k] = p[k];
        entry.high = unit[0] << 48 | unit[1] << 32 | unit[2] << 16 | unit[3];
        entry.low = unit[4] << 48 | unit[5] << 32 | unit[6] << 16 | count;
    }
};

// Valid UTF-8, each byte as it orders among the UTF-16 units (utf16OrderByte).
struct Utf8InUtf16Order {
    using View = QByteArrayView;
    static constexpr qsizetype kUnitsPerKey = 15;
    static constexpr std::uint64_t kCountMask = 0xFF;
    static constexpr std::size_t kFirstUnits = 256;

    static const void *at(View item, qsizetype depth) { return item.data() + depth; }
    static std::size_t firstUnit(View item) { return utf16OrderByte(static_cast<unsigned char>(item[0])); }
    static bool inOrder(View a, View b) { return compareUtf8InCodeUnitOrder(a, b) <= 0; }
    // Eight bytes, the first in the highest bits.
    static std::uint64_t ordered(const unsigned char *p)
    {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if (word & 0x8080808080808080ULL) { // only then can a byte move
            std::uint64_t moved = 0;
            for (int k = 0; k < 8; ++k)
                moved = moved << 8 | utf16OrderByte(p[k]);
            return moved;
        }
        return std::endian::native == std::endian::little ? __builtin_bswap64(word) : word;
    }
    static void setKey(Entry &entry, View item, qsizetype depth)
    {
        constexpr std::uint64_t kMore = kUnitsPerKey + 1;
        const qsizetype left = item.size() - depth;
        const auto *p = reinterpret_cast<const unsigned char *>(item.data()) + depth;
        const std::uint64_t count = std::uint64_t(std::min<qsizetype>(left, kMore));
        unsigned char padded[16] = {};
        if (left < 16) { // never read past the item's end
            std::memcpy(padded, p, std::size_t(std::min<qsizetype>(left, kUnitsPerKey)));
            p = padded;
        }
        entry.high = ordered(p);
        entry.low = (ordered(p + 8) & ~std::uint64_t(0xFF)) | count;
    }
};

// Small groups are sorted on their keys alone: the keys' loads are
// independent, so their cache misses overlap, where comparing whole strings
// would wait for one miss after another.
constexpr std::size_t kSmallGroup = 32;

void insertionSort(EntryIt first, EntryIt last)
{
    if (first == last) // no item: first + 1 would point past the end
        return;
    for (auto it = first + 1; it < last; ++it) {
        const Entry moving = *it;
        auto hole = it;
        while (hole != first && moving < *(hole - 1)) {
            *hole = *(hole - 1);
            --hole;
        }
        *hole = moving;
    }
}

// Stable LSD radix sort on the key, one code unit (16 bits) a round, for the
// large groups; rounds in which every entry has the same digit are skipped.
class KeyRadixSort {
public:
    static constexpr std::size_t kMinimum = 1 << 15;

    void operator()(EntryIt first, EntryIt last)
    {
        const std::size_t n = std::size_t(last - first);
        counts_.assign(kDigits * kBuckets, 0);
        for (auto it = first; it != last; ++it) {
            for (int d = 0; d < kDigits; ++d)
                ++counts_[std::size_t(d) * kBuckets + digit(*it, d)];
        }
        if (scratch_.capacity() < n)
            reserveLarge(scratch_, n);
        scratch_.resize(n);
        Entry *from = &*first, *to = scratch_.data();
        for (int d = 0; d < kDigits; ++d) {
            std::uint32_t *count = counts_.data() + std::size_t(d) * kBuckets;
            if (count[digit(*from, d)] == n)
                continue;
            std::uint32_t sum = 0;
            for (std::size_t b = 0; b < kBuckets; ++b)
                sum += std::exchange(count[b], sum);
            for (std::size_t i = 0; i < n; ++i)
                to[count[digit(from[i], d)]++] = from[i];
            std::swap(from, to);
        }
        if (from != &*first)
            std::copy(from, from + n, first);
    }

private:
    static constexpr int kDigits = 8;
    static constexpr std::size_t kBuckets = 1 << 16;
    static std::size_t digit(const Entry &e, int d)
    {
        return std::size_t((d < 4 ? e.low >> (16 * d) : e.high >> (16 * (d - 4))) & 0xFFFF);
    }

    std::vector<std::uint32_t> counts_;
    std::vector<Entry> scratch_;
};

struct Group {
    std::size_t begin, end;
    qsizetype depth;
};

// Sorts one group whose members share their first `depth` units and stand in
// index order, then queues the subgroups that still tie.
template <typename Units>
void sortGroup(std::span<const typename Units::View> items, std::vector<Entry> &entries,
               KeyRadixSort &radixSort, const Group &group, std::vector<Group> &pending)
{
    const auto first = entries.begin() + std::ptrdiff_t(group.begin);
    const auto last = entries.begin() + std::ptrdiff_t(group.end);
    // Members stand anywhere in the text: views and units are fetched ahead.
    constexpr std::ptrdiff_t kViewsAhead = 16, kUnitsAhead = 8;
    for (auto it = first; it != last; ++it) {
        if (last - it > kViewsAhead)
            __builtin_prefetch(&items[(it + kViewsAhead)->index]);
        if (last - it > kUnitsAhead)
            __builtin_prefetch(Units::at(items[(it + kUnitsAhead)->index], group.depth));
        Units::setKey(*it, items[it->index], group.depth);
    }
    // Already in order is common for runs of equal or presorted strings.
    if (std::is_sorted(first, last))
        ;
    else if (std::size_t(last - first) <= kSmallGroup)
        insertionSort(first, last);
    else if (std::size_t(last - first) >= KeyRadixSort::kMinimum)
        radixSort(first, last);
    else
        std::sort(first, last);
    for (auto it = first; it != last;) {
        auto tieEnd = it + 1;
        while (tieEnd != last && tieEnd->sameKey(*it))
            ++tieEnd;
        if (tieEnd - it > 1 && (it->low & Units::kCountMask) == Units::kUnitsPerKey + 1) {
            pending.push_back({std::size_t(it - entries.begin()),
                               std::size_t(tieEnd - entries.begin()),
                               group.depth + Units::kUnitsPerKey});
        }
        it = tieEnd;
    }
}

// Hints for the group after next (its views) and the next group (its units);
// the first 64 members are plenty to keep the memory busy meanwhile.
constexpr std::size_t kPrefetchedMembers = 64;

template <typename View>
void prefetchViews(std::span<const View> items, const std::vector<Entry> &entries,
                   const Group &group)
{
    for (std::size_t k = group.begin; k < group.end && k < group.begin + kPrefetchedMembers; ++k)
        __builtin_prefetch(&items[entries[k].index]);
}

template <typename Units>
void prefetchUnits(std::span<const typename Units::View> items, const std::vector<Entry> &entries,
                   const Group &group)
{
    for (std::size_t k = group.begin; k < group.end && k < group.begin + kPrefetchedMembers; ++k)
        __builtin_prefetch(Units::at(items[entries[k].index], group.depth));
}

// Sorts entries that stand in index order. Within every tie the index breaks
// it, so each group stays in index order and the result is stable.
template <typename Units>
void sortEntries(std::span<const typename Units::View> items, std::vector<Entry> &entries,
                 KeyRadixSort &radixSort)
{
    // Ties are refined level by level, in place order, so that the strings
    // of the next group can be fetched while the current one is sorted.
    std::vector<Group> level{{0, entries.size(), 0}}, next;
    while (!level.empty()) {
        for (std::size_t g = 0; g < level.size(); ++g) {
            if (g + 2 < level.size())
                prefetchViews(items, entries, level[g + 2]);
            if (g + 1 < level.size())
                prefetchUnits<Units>(items, entries, level[g + 1]);
            sortGroup<Units>(items, entries, radixSort, level[g], next);
        }
        level.swap(next);
        next.clear();
    }
}

// The indices of the items grouped by first code unit, ascending, the empty
// items first (bucket 0), each bucket in index order. Sorted bucket by bucket,
// the keys (and the radix sort's copy of them, 48 bytes an item together) are
// held for the largest bucket only, not for every item.
struct FirstUnitBuckets {
    std::vector<std::uint32_t> order;
    std::vector<std::uint32_t> starts; // bucket b is order[starts[b], starts[b + 1])
    std::size_t largest = 0;
};

template <typename Units>
FirstUnitBuckets bucketsByFirstUnit(std::span<const typename Units::View> items)
{
    const auto bucketOf = [](typename Units::View item) {
        return item.isEmpty() ? std::size_t(0) : Units::firstUnit(item) + 1;
    };
    FirstUnitBuckets buckets;
    buckets.starts.assign(Units::kFirstUnits + 2, 0);
    for (const auto item : items)
        ++buckets.starts[bucketOf(item) + 1];
    for (std::size_t b = 1; b < buckets.starts.size(); ++b) {
        buckets.largest = std::max<std::size_t>(buckets.largest, buckets.starts[b]);
        buckets.starts[b] += buckets.starts[b - 1];
    }
    std::vector<std::uint32_t> next(buckets.starts.begin(), buckets.starts.end() - 1);
    reserveLarge(buckets.order, items.size());
    buckets.order.resize(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        buckets.order[next[bucketOf(items[i])]++] = std::uint32_t(i);
    return buckets;
}

template <typename Units>
std::vector<std::uint32_t> stableOrder(std::span<const typename Units::View> items)
{
    if (items.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many items to sort");
    // A list that a sort made (Unique Words sorts Sort Words' list again)
    // costs one pass; an unsorted list shows itself within a few items.
    const auto outOfOrder = std::adjacent_find(items.begin(), items.end(), [](auto a, auto b) {
        return !Units::inOrder(a, b);
    });
    if (outOfOrder == items.end()) {
        std::vector<std::uint32_t> identity(items.size());
        std::iota(identity.begin(), identity.end(), 0u);
        return identity;
    }
    FirstUnitBuckets buckets = bucketsByFirstUnit<Units>(items);
    std::vector<std::uint32_t> order = std::move(buckets.order);
    std::vector<Entry> entries;
    reserveLarge(entries, buckets.largest);
    KeyRadixSort radixSort;
    for (std::size_t b = 1; b + 1 < buckets.starts.size(); ++b) {
        const std::size_t first = buckets.starts[b], last = buckets.starts[b + 1];
        if (last - first < 2)
            continue;
        entries.resize(last - first);
        for (std::size_t k = 0; k < entries.size(); ++k)
            entries[k].index = order[first + k];
        sortEntries<Units>(items, entries, radixSort);
        for (std::size_t k = 0; k < entries.size(); ++k)
            order[first + k] = entries[k].index;
    }
    return order;
}

} // namespace

std::vector<std::uint32_t> stableCodeUnitOrder(std::span<const QStringView> items)
{
    return stableOrder<Utf16Units>(items);
}

std::vector<std::uint32_t> stableCodeUnitOrder(std::span<const QByteArrayView> utf8Items)
{
    return stableOrder<Utf8InUtf16Order>(utf8Items);
}

} // namespace wordloom
