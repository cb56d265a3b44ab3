#pragma once

#include "Job.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "BinaryOrder.h"

#include <cstdint>
#include <vector>

namespace wordloom::mpi {

// Strings (lines or words), each with how often it occurs when counted.
struct Keys {
    std::vector<QStringView> keys;
    std::vector<long long> counts; // empty when not counted: each key once
};

// What arrived at this process: its range of keys from every process, as
// views into the texts that stay here and into `arrived`.
struct KeyRange {
    Keys items;
    QByteArray arrived;
};

// A sample sort's exchange (collective): splitters drawn from an even sample
// of every process's keys, compared in the binary order of 16-bit code units,
// cut the keys into one range per process, and each key goes to the process
// of its range (equal keys to the same one, process k's range before
// process k + 1's), at most `roundBytes` to each process a round. Keys that
// stay here are not copied. The keys that come in reuse the pages of
// `spare`, a buffer whose bytes are no longer needed.
KeyRange exchangeByKey(const Job &job, Keys mine, bool counted, qsizetype roundBytes, QByteArray spare = {});

// The keys that end every process's range of keys but the last's, drawn from
// that sample (collective): the same on every process.
std::vector<QString> chooseSplitters(const Job &job, const Keys &mine);
// The exchange by splitters chosen before, for keys that come in rounds.
KeyRange exchangeByKey(const Job &job, Keys mine, bool counted, qsizetype roundBytes,
                       const std::vector<QString> &splitters, QByteArray spare = {});

// Each distinct key once, in the order given (ascending), with its total
// count: run(key, count).
template <typename Run>
void forEachDistinct(const Keys &items, const std::vector<std::uint32_t> &order, Run run)
{
    for (std::size_t k = 0; k < order.size();) {
        const QStringView key = items.keys[order[k]];
        long long count = 0;
        for (; k < order.size() && codeUnits(items.keys[order[k]]) == codeUnits(key); ++k)
            count += items.counts.empty() ? 1 : items.counts[order[k]];
        run(key, count);
    }
}

} // namespace wordloom::mpi
