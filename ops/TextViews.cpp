#include "TextViews.h"

#include "CrLfScan.h"
#include "LargePages.h"
#include "SideBySide.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wordloom::ops {

using namespace crlf;


std::vector<QStringView> splitAtCrLf(QStringView text)
{
    std::vector<QStringView> pieces;
    if (text.isEmpty())
        return pieces;
    reserveLarge(pieces, std::size_t(countCrLfPieces(text)));
    qsizetype start = 0;
    forEachCrLf(text, [&](qsizetype cr) {
        pieces.push_back(text.sliced(start, cr - start));
        start = cr + 2;
    });
    pieces.push_back(text.sliced(start));
    return pieces;
}

qsizetype countCrLfPieces(QStringView text)
{
    if (text.isEmpty())
        return 0;
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    qsizetype pieces = 1, i = 1;
#if defined(__SSE2__)
    // Each lane counts its pairs (a match is -1); lanes are summed before
    // they could overflow.
    constexpr qsizetype kBlocksPerSum = 1 << 14;
    while (i + 8 <= n) {
        __m128i lanes = _mm_setzero_si128();
        const qsizetype stop = std::min(n - 7, i + 8 * kBlocksPerSum);
        for (; i < stop; i += 8)
            lanes = _mm_sub_epi16(lanes, crLfUnits(p, i));
        alignas(16) std::int32_t sums[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(sums), _mm_madd_epi16(lanes, _mm_set1_epi16(1)));
        pieces += qsizetype(sums[0]) + sums[1] + sums[2] + sums[3];
    }
#endif
    for (; i < n; ++i)
        pieces += (p[i] == u'\n') & (p[i - 1] == u'\r');
    return pieces;
}

QString joinInOrder(std::span<const QStringView> items, std::span<const std::uint32_t> order,
                    QStringView separator)
{
    if (order.empty())
        return {};
    qsizetype total = separator.size() * qsizetype(order.size() - 1);
    if (order.size() == items.size()) { // a permutation: read the items in memory order
        for (const QStringView item : items)
            total += item.size();
    } else {
        for (const std::uint32_t index : order)
            total += items[index].size();
    }
    QString out(total, Qt::Uninitialized);
    adviseLargePages(out.data(), std::size_t(total) * sizeof(QChar));
    QChar *const begin = out.data();
    // The items stand anywhere in memory: fetch a few ahead, their views
    // first, then their units, so that the misses overlap.
    const auto front = [&](std::size_t end) {
        constexpr std::size_t kViewsAhead = 16, kUnitsAhead = 8;
        QChar *write = begin;
        for (std::size_t k = 0; k < end; ++k) {
            if (k + kViewsAhead < end)
                __builtin_prefetch(&items[order[k + kViewsAhead]]);
            if (k + kUnitsAhead < end)
                __builtin_prefetch(items[order[k + kUnitsAhead]].utf16());
            if (k > 0)
                write = std::copy(separator.begin(), separator.end(), write);
            const QStringView item = items[order[k]];
            write = std::copy(item.begin(), item.end(), write);
        }
        return write;
    };
    if (total < kUnitsWorthASecondCore || order.size() < 2) {
        front(order.size());
        return out;
    }
    // A large text is written from both ends at once: the second half of the
    // order backwards from the end, so neither half needs the other's length.
    const std::size_t half = order.size() / 2;
    const auto back = [&] {
        QChar *write = begin + total;
        for (std::size_t k = order.size(); k-- > half;) {
            const QStringView item = items[order[k]];
            write = std::copy_backward(item.begin(), item.end(), write);
            if (k > half)
                write = std::copy_backward(separator.begin(), separator.end(), write);
        }
    };
    runSideBySide([&] { std::copy(separator.begin(), separator.end(), front(half)); }, back);
    return out;
}

namespace {
// The first hyphen at or after `from` that starts a hyphen line break, or -1.
qsizetype findHyphenBreak(const char16_t *p, qsizetype n, qsizetype from)
{
    for (qsizetype i = from; i + 2 < n; ++i) {
#if defined(__SSE2__)
        // Hyphens are rare: blocks of eight units without one are passed over.
        if (i + 8 <= n) {
            const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            const unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(units, _mm_set1_epi16(u'-'))));
            if (mask == 0) {
                i += 7;
                continue;
            }
            i += std::countr_zero(mask) / 2;
            if (i + 2 >= n)
                break;
        }
#endif
        if (p[i] == u'-' && p[i + 1] == u'\r' && p[i + 2] == u'\n')
            return i;
    }
    return -1;
}
} // namespace

void removeHyphenBreaks(QString &text)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    qsizetype match = findHyphenBreak(p, n, 0);
    if (match < 0)
        return;
    QChar *const out = text.data(); // a copy of its own now, as the text changes
    p = reinterpret_cast<const char16_t *>(out);
    qsizetype write = match, read = match;
    while (match >= 0) {
        std::copy(out + read, out + match, out + write);
        write += match - read;
        read = match + 3;
        match = findHyphenBreak(p, n, read);
    }
    std::copy(out + read, out + n, out + write);
    text.truncate(write + (n - read));
}

QString detab(const QString &text)
{
    if (!text.contains(u'\t'))
        return text;
    QString copy = text;
    copy.replace(u'\t', u' ');
    return copy;
}

} // namespace wordloom::ops
