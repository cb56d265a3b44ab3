#include "TextViews.h"

#include "lib/LargePages.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wordloom::ops {

// Pairs cannot overlap, so every LF after a CR ends a piece. No library
// search per line: its call costs more than a line of thirty units.
namespace {
// Eight units are compared at once where SSE2 is there (every x86-64): an
// LF whose preceding unit is CR sets two bits of the mask, one per byte of
// the unit. The plain loop finishes the rest.
#if defined(__SSE2__)
// All ones in each unit of the eight from lfStart that is an LF after a CR.
__m128i crLfUnits(const char16_t *p, qsizetype lfStart)
{
    const __m128i lfs = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + lfStart));
    const __m128i crs = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + lfStart - 1));
    return _mm_and_si128(_mm_cmpeq_epi16(lfs, _mm_set1_epi16(10)),
                         _mm_cmpeq_epi16(crs, _mm_set1_epi16(13)));
}

unsigned crLfMask(const char16_t *p, qsizetype lfStart)
{
    return unsigned(_mm_movemask_epi8(crLfUnits(p, lfStart)));
}
#endif

// Calls onSeparator with the position of every CR of a CR LF pair, in order;
// returns where the plain loop has to go on.
template <typename OnSeparator>
qsizetype forEachCrLfInBlocks(const char16_t *p, qsizetype n, OnSeparator onSeparator)
{
    qsizetype i = 1;
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        for (unsigned mask = crLfMask(p, i); mask != 0; mask &= mask - 1, mask &= mask - 1)
            onSeparator(i + std::countr_zero(mask) / 2 - 1);
    }
#endif
    return i;
}

template <typename OnSeparator>
void forEachCrLf(QStringView text, OnSeparator onSeparator)
{
    const char16_t *p = text.utf16();
    for (qsizetype i = forEachCrLfInBlocks(p, text.size(), onSeparator); i < text.size(); ++i) {
        if (p[i] == u'\n' && p[i - 1] == u'\r')
            onSeparator(i - 1);
    }
}
} // namespace

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
    QChar *write = out.data();
    // The items stand anywhere in memory: fetch a few ahead, their views
    // first, then their units, so that the misses overlap.
    constexpr std::size_t kViewsAhead = 16, kUnitsAhead = 8;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k + kViewsAhead < order.size())
            __builtin_prefetch(&items[order[k + kViewsAhead]]);
        if (k + kUnitsAhead < order.size())
            __builtin_prefetch(items[order[k + kUnitsAhead]].utf16());
        if (k > 0)
            write = std::copy(separator.begin(), separator.end(), write);
        const QStringView item = items[order[k]];
        write = std::copy(item.begin(), item.end(), write);
    }
    return out;
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
