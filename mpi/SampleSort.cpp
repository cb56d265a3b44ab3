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
qsizetype wireBytes(QStringView key, bool counted)
{
    return qsizetype(sizeof(std::uint32_t)) + (counted ? qsizetype(sizeof(long long)) : 0)
         + key.size() * qsizetype(sizeof(char16_t));
}

char *put(char *at, QStringView key, const long long *count)
{
    const std::uint32_t length = std::uint32_t(key.size());
    std::memcpy(at, &length, sizeof length);
    at += sizeof length;
    if (count) {
        std::memcpy(at, count, sizeof *count);
        at += sizeof *count;
    }
    std::memcpy(at, key.utf16(), std::size_t(key.size()) * sizeof(char16_t));
    return at + key.size() * qsizetype(sizeof(char16_t));
}

void append(QByteArray &out, QStringView key, const long long *count)
{
    const qsizetype at = out.size();
    out.resize(at + wireBytes(key, count != nullptr));
    put(out.data() + at, key, count);
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
    // Each key's process first, so that the parts are written once, in place.
    std::vector<std::uint32_t> owners(mine.keys.size());
    std::vector<qsizetype> sizes(std::size_t(job.size()), 0);
    std::vector<std::size_t> staying;
    for (std::size_t k = 0; k < mine.keys.size(); ++k) {
        const QStringView key = mine.keys[k];
        const auto above = std::upper_bound(cuts.begin(), cuts.end(), key,
                                            [](QStringView a, const QString &b) { return codeUnitsLess(a, b); });
        owners[k] = std::uint32_t(above - cuts.begin());
        if (int(owners[k]) == job.rank())
            staying.push_back(k);
        else
            sizes[owners[k]] += wireBytes(key, counted);
    }
    const std::vector<QByteArrayView> arrived = job.allToAll(sizes, [&](const std::vector<char *> &starts) {
        std::vector<char *> at = starts;
        for (std::size_t k = 0; k < mine.keys.size(); ++k)
            if (int(owners[k]) != job.rank())
                at[owners[k]] = put(at[owners[k]], mine.keys[k], counted ? &mine.counts[k] : nullptr);
    }, range.arrived);
    owners = {};
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
