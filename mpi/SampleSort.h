#pragma once

#include "Job.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "BinaryOrder.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace wordloom::mpi {

// Strings (lines or words), each with how often it occurs when counted:
// as QStringView, or as QByteArrayView of valid UTF-8 ordered as its UTF-16
// form would be (lines sorted without being decoded).
template <typename View>
struct KeysOf {
    std::vector<View> keys;
    std::vector<long long> counts; // empty when not counted: each key once
};
using Keys = KeysOf<QStringView>;
using Utf8Keys = KeysOf<QByteArrayView>;

// What arrived at this process: its range of keys from every process, as
// views into the texts that stay here and into `arrived`.
template <typename View>
struct KeyRangeOf {
    KeysOf<View> items;
    QByteArray arrived;
};
using KeyRange = KeyRangeOf<QStringView>;
using Utf8KeyRange = KeyRangeOf<QByteArrayView>;

// How the two kinds of key are held, compared and copied.
template <typename View>
struct KeyTraits;
template <>
struct KeyTraits<QStringView> {
    using Owned = QString;
    using Unit = char16_t;
    static const void *data(QStringView key) { return key.utf16(); }
    static QString own(QStringView key) { return key.toString(); }
    static bool less(QStringView a, QStringView b) { return codeUnitsLess(a, b); }
    static bool same(QStringView a, QStringView b) { return codeUnits(a) == codeUnits(b); }
};
template <>
struct KeyTraits<QByteArrayView> {
    using Owned = QByteArray;
    using Unit = char;
    static const void *data(QByteArrayView key) { return key.data(); }
    static QByteArray own(QByteArrayView key) { return key.toByteArray(); }
    static bool less(QByteArrayView a, QByteArrayView b) { return compareUtf8InCodeUnitOrder(a, b) < 0; }
    static bool same(QByteArrayView a, QByteArrayView b)
    {
        return std::string_view(a.data(), std::size_t(a.size())) == std::string_view(b.data(), std::size_t(b.size()));
    }
};

// A sample sort's exchange (collective): splitters drawn from an even sample
// of every process's keys, compared in the binary order of 16-bit code units,
// cut the keys into one range per process, and each key goes to the process
// of its range (equal keys to the same one, process k's range before
// process k + 1's), at most `roundBytes` to each process a round. Keys that
// stay here are not copied. The keys that come in reuse the pages of
// `spare`, a buffer whose bytes are no longer needed.
template <typename View>
KeyRangeOf<View> exchangeByKey(const Job &job, KeysOf<View> mine, bool counted, qsizetype roundBytes,
                               QByteArray spare = {});

// The keys that end every process's range of keys but the last's, drawn from
// that sample (collective): the same on every process.
template <typename View>
std::vector<typename KeyTraits<View>::Owned> chooseSplitters(const Job &job, const KeysOf<View> &mine);
// The exchange by splitters chosen before, for keys that come in rounds.
template <typename View>
KeyRangeOf<View> exchangeByKey(const Job &job, KeysOf<View> mine, bool counted, qsizetype roundBytes,
                               const std::vector<typename KeyTraits<View>::Owned> &splitters, QByteArray spare = {});

// Each distinct key once, in the order given (ascending), with its total
// count: run(key, count).
template <typename View, typename Run>
void forEachDistinct(const KeysOf<View> &items, const std::vector<std::uint32_t> &order, Run run)
{
    for (std::size_t k = 0; k < order.size();) {
        const View key = items.keys[order[k]];
        long long count = 0;
        for (; k < order.size() && KeyTraits<View>::same(items.keys[order[k]], key); ++k)
            count += items.counts.empty() ? 1 : items.counts[order[k]];
        run(key, count);
    }
}

} // namespace wordloom::mpi
