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
void append(QByteArray &out, QStringView key, const long long *count)
{
    const std::uint32_t length = std::uint32_t(key.size());
    out.append(reinterpret_cast<const char *>(&length), sizeof length);
    if (count)
        out.append(reinterpret_cast<const char *>(count), sizeof *count);
    out.append(reinterpret_cast<const char *>(key.utf16()), key.size() * qsizetype(sizeof(char16_t)));
}

void parse(QByteArrayView bytes, bool counted, Keys &into)
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
        into.keys.emplace_back(reinterpret_cast<const char16_t *>(p), qsizetype(length));
        p += qsizetype(length) * qsizetype(sizeof(char16_t));
    }
}

} // namespace

std::vector<QString> chooseSplitters(const Job &job, const Keys &mine)
{
    QByteArray sample;
    const std::size_t n = mine.keys.size(), taken = std::min(n, kSamples);
    for (std::size_t k = 0; k < taken; ++k)
        append(sample, mine.keys[(2 * k + 1) * n / (2 * taken)], nullptr);
    QByteArray held;
    for (const QByteArray &part : job.allGather(sample))
        held.append(part);
    Keys samples;
    parse(held, false, samples);
    const std::vector<std::uint32_t> order = stableCodeUnitOrder(samples.keys);
    std::vector<QString> cuts;
    for (int k = 1; k < job.size() && !order.empty(); ++k)
        cuts.push_back(samples.keys[order[std::size_t(k) * order.size() / std::size_t(job.size())]].toString());
    return cuts;
}

KeyRange exchangeByKey(const Job &job, Keys mine, bool counted)
{
    if (job.size() == 1) {
        KeyRange range;
        range.items = std::move(mine);
        return range;
    }
    const std::vector<QString> cuts = chooseSplitters(job, mine);
    return exchangeByKey(job, std::move(mine), counted, cuts);
}

KeyRange exchangeByKey(const Job &job, Keys mine, bool counted, const std::vector<QString> &cuts)
{
    KeyRange range;
    if (job.size() == 1) {
        range.items = std::move(mine);
        return range;
    }
    std::vector<QByteArray> parts(std::size_t(job.size()));
    std::vector<std::size_t> staying;
    for (std::size_t k = 0; k < mine.keys.size(); ++k) {
        const QStringView key = mine.keys[k];
        const auto above = std::upper_bound(cuts.begin(), cuts.end(), key,
                                            [](QStringView a, const QString &b) { return codeUnitsLess(a, b); });
        const int owner = int(above - cuts.begin());
        if (owner == job.rank())
            staying.push_back(k);
        else
            append(parts[std::size_t(owner)], key, counted ? &mine.counts[k] : nullptr);
    }
    const std::vector<QByteArrayView> arrived = job.allToAll(std::move(parts), range.arrived);
    for (int k = 0; k < job.size(); ++k) {
        if (k != job.rank()) {
            parse(arrived[std::size_t(k)], counted, range.items);
            continue;
        }
        for (const std::size_t index : staying) {
            range.items.keys.push_back(mine.keys[index]);
            if (counted)
                range.items.counts.push_back(mine.counts[index]);
        }
    }
    return range;
}

} // namespace wordloom::mpi
