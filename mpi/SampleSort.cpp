#include "SampleSort.h"

#include "BinaryOrder.h"
#include "CodeUnitOrder.h"

#include <algorithm>
#include <cstring>

namespace wordloom::mpi {

namespace {

// Samples per process: enough that the ranges hold about as many keys each.
constexpr std::size_t kSamples = 64;

// A key on the wire: its length in units (4 bytes), its count when counted
// (8 bytes), its units. Every field is a whole number of units, so the units
// of a key stay aligned for viewing in place.
template <typename View>
qsizetype unitBytes(View key)
{
    return key.size() * qsizetype(sizeof(typename KeyTraits<View>::Unit));
}

template <typename View>
qsizetype wireBytes(View key, bool counted)
{
    return qsizetype(sizeof(std::uint32_t)) + (counted ? qsizetype(sizeof(long long)) : 0) + unitBytes(key);
}

// Bytes [from, from + bytes) of a key's wire form, for a key that a round
// cuts in two.
template <typename View>
void putSlice(char *out, View key, const long long *count, qsizetype from, qsizetype bytes)
{
    char head[sizeof(std::uint32_t) + sizeof(long long)];
    const std::uint32_t length = std::uint32_t(key.size());
    std::memcpy(head, &length, sizeof length);
    const qsizetype headBytes = qsizetype(sizeof length) + (count ? qsizetype(sizeof *count) : 0);
    if (count)
        std::memcpy(head + sizeof length, count, sizeof *count);
    if (from < headBytes) {
        const qsizetype n = std::min(bytes, headBytes - from);
        std::memcpy(out, head + from, std::size_t(n));
        out += n;
        from += n;
        bytes -= n;
    }
    std::memcpy(out, static_cast<const char *>(KeyTraits<View>::data(key)) + (from - headBytes), std::size_t(bytes));
}

template <typename View>
char *put(char *at, View key, const long long *count)
{
    const std::uint32_t length = std::uint32_t(key.size());
    std::memcpy(at, &length, sizeof length);
    at += sizeof length;
    if (count) {
        std::memcpy(at, count, sizeof *count);
        at += sizeof *count;
    }
    std::memcpy(at, KeyTraits<View>::data(key), std::size_t(unitBytes(key)));
    return at + unitBytes(key);
}

template <typename View>
void append(QByteArray &out, View key, const long long *count)
{
    const qsizetype at = out.size();
    out.resize(at + wireBytes(key, count != nullptr));
    put(out.data() + at, key, count);
}

template <typename View>
void parse(QByteArrayView bytes, bool counted, KeysOf<View> &into)
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    while (p < end) {
        std::uint32_t length;
        std::memcpy(&length, p, sizeof length);
        p += sizeof length;
        if (counted) {
            long long count;
            std::memcpy(&count, p, sizeof count);
            p += sizeof count;
            into.counts.push_back(count);
        }
        using Unit = typename KeyTraits<View>::Unit;
        into.keys.emplace_back(reinterpret_cast<const Unit *>(p), qsizetype(length));
        p += qsizetype(length) * qsizetype(sizeof(Unit));
    }
}

// How many keys a part holds: only their lengths are read.
template <typename View>
std::size_t keysIn(QByteArrayView bytes, bool counted)
{
    std::size_t keys = 0;
    const qsizetype head = qsizetype(sizeof(std::uint32_t)) + (counted ? qsizetype(sizeof(long long)) : 0);
    for (const char *p = bytes.data(), *const end = p + bytes.size(); p < end; ++keys) {
        std::uint32_t length;
        std::memcpy(&length, p, sizeof length);
        p += head + qsizetype(length) * qsizetype(sizeof(typename KeyTraits<View>::Unit));
    }
    return keys;
}

} // namespace

template <typename View>
std::vector<typename KeyTraits<View>::Owned> chooseSplitters(const Job &job, const KeysOf<View> &mine)
{
    QByteArray sample;
    const std::size_t n = mine.keys.size(), taken = std::min(n, kSamples);
    for (std::size_t k = 0; k < taken; ++k)
        append(sample, mine.keys[(2 * k + 1) * n / (2 * taken)], nullptr);
    QByteArray held;
    for (const QByteArray &part : job.allGather(sample))
        held.append(part);
    KeysOf<View> samples;
    parse(held, false, samples);
    const std::vector<std::uint32_t> order = stableCodeUnitOrder(samples.keys);
    std::vector<typename KeyTraits<View>::Owned> cuts;
    for (int k = 1; k < job.size() && !order.empty(); ++k)
        cuts.push_back(KeyTraits<View>::own(samples.keys[order[std::size_t(k) * order.size() / std::size_t(job.size())]]));
    return cuts;
}

template <typename View>
KeyRangeOf<View> exchangeByKey(const Job &job, KeysOf<View> mine, bool counted, qsizetype roundBytes, QByteArray spare)
{
    if (job.size() == 1) {
        KeyRangeOf<View> range;
        range.items = std::move(mine);
        return range;
    }
    const auto cuts = chooseSplitters(job, mine);
    return exchangeByKey(job, std::move(mine), counted, roundBytes, cuts, std::move(spare));
}

template <typename View>
KeyRangeOf<View> exchangeByKey(const Job &job, KeysOf<View> mine, bool counted, qsizetype roundBytes,
                               const std::vector<typename KeyTraits<View>::Owned> &cuts, QByteArray spare)
{
    using Owned = typename KeyTraits<View>::Owned;
    KeyRangeOf<View> range;
    if (job.size() == 1) {
        range.items = std::move(mine);
        return range;
    }
    range.arrived = std::move(spare);
    // Each key's process, then the keys listed by process, so that each
    // round takes the next keys for a process without a search.
    const auto processes = std::size_t(job.size());
    std::vector<std::uint32_t> byOwner(mine.keys.size());
    std::vector<std::size_t> starts(processes + 1, 0);
    std::vector<qsizetype> sizes(processes, 0);
    {
        std::vector<std::uint32_t> owners(mine.keys.size());
        for (std::size_t k = 0; k < mine.keys.size(); ++k) {
            const View key = mine.keys[k];
            const auto above = std::upper_bound(cuts.begin(), cuts.end(), key,
                                                [](View a, const Owned &b) { return KeyTraits<View>::less(a, View(b)); });
            owners[k] = std::uint32_t(above - cuts.begin());
            ++starts[owners[k] + 1];
            sizes[owners[k]] += wireBytes(key, counted);
        }
        for (std::size_t p = 0; p < processes; ++p)
            starts[p + 1] += starts[p];
        std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
        for (std::size_t k = 0; k < mine.keys.size(); ++k)
            byOwner[next[owners[k]]++] = std::uint32_t(k);
    }
    // Where each process's part goes on: its next key, and how much of that
    // key's wire form an earlier round took.
    struct Cursor {
        std::size_t next;
        qsizetype taken = 0;
    };
    std::vector<Cursor> cursors;
    for (std::size_t p = 0; p < processes; ++p)
        cursors.push_back(Cursor{starts[p]});
    const std::vector<QByteArrayView> arrived =
        job.allToAll(sizes, roundBytes, [&](int to, char *out, qsizetype bytes) {
            Cursor &at = cursors[std::size_t(to)];
            while (bytes > 0) {
                const std::uint32_t k = byOwner[at.next];
                const long long *count = counted ? &mine.counts[k] : nullptr;
                const qsizetype whole = wireBytes(mine.keys[k], counted);
                const qsizetype n = std::min(bytes, whole - at.taken);
                if (n == whole)
                    put(out, mine.keys[k], count);
                else
                    putSlice(out, mine.keys[k], count, at.taken, n);
                out += n;
                bytes -= n;
                at.taken += n;
                if (at.taken == whole) {
                    at.taken = 0;
                    ++at.next;
                }
            }
        }, range.arrived);
    // Room for every key at once: a growing list would copy itself, into
    // fresh pages each time.
    std::size_t keys = starts[std::size_t(job.rank()) + 1] - starts[std::size_t(job.rank())];
    for (const QByteArrayView part : arrived)
        keys += keysIn<View>(part, counted);
    range.items.keys.reserve(keys);
    if (counted)
        range.items.counts.reserve(keys);
    for (int p = 0; p < job.size(); ++p) {
        if (p != job.rank()) {
            parse(arrived[std::size_t(p)], counted, range.items);
            continue;
        }
        for (std::size_t j = starts[std::size_t(p)]; j < starts[std::size_t(p) + 1]; ++j) {
            range.items.keys.push_back(mine.keys[byOwner[j]]);
            if (counted)
                range.items.counts.push_back(mine.counts[byOwner[j]]);
        }
    }
    return range;
}

template std::vector<QString> chooseSplitters(const Job &, const Keys &);
template KeyRange exchangeByKey(const Job &, Keys, bool, qsizetype, QByteArray);
template KeyRange exchangeByKey(const Job &, Keys, bool, qsizetype, const std::vector<QString> &, QByteArray);
template Utf8KeyRange exchangeByKey(const Job &, Utf8Keys, bool, qsizetype, QByteArray);

} // namespace wordloom::mpi
