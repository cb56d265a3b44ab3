#pragma once

// The scan for CR LF pairs that splitting, counting and the one-pass line
// checks share.
#include <QStringView>

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wordloom::ops::crlf {

// Pairs cannot overlap, so every LF after a CR ends a piece. No library
// search per line: its call costs more than a line of thirty units.
// Eight units are compared at once where SSE2 is there (every x86-64): an
// LF whose preceding unit is CR sets two bits of the mask, one per byte of
// the unit. The plain loop finishes the rest.
#if defined(__SSE2__)
// All ones in each unit of the eight from lfStart that is an LF after a CR.
inline __m128i crLfUnits(const char16_t *p, qsizetype lfStart)
{
    const __m128i lfs = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + lfStart));
    const __m128i crs = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + lfStart - 1));
    return _mm_and_si128(_mm_cmpeq_epi16(lfs, _mm_set1_epi16(10)),
                         _mm_cmpeq_epi16(crs, _mm_set1_epi16(13)));
}

inline unsigned crLfMask(const char16_t *p, qsizetype lfStart)
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

// Calls onPiece with every piece between CR LF pairs, in order; the empty
// text has none. onPiece returns false to stop the scan there.
template <typename OnPiece>
void forEachCrLfPiece(QStringView text, OnPiece onPiece)
{
    if (text.isEmpty())
        return;
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    qsizetype start = 0, i = 1;
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        for (unsigned mask = crLfMask(p, i); mask != 0; mask &= mask - 1, mask &= mask - 1) {
            const qsizetype cr = i + std::countr_zero(mask) / 2 - 1;
            if (!onPiece(text.sliced(start, cr - start)))
                return;
            start = cr + 2;
        }
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == u'\n' && p[i - 1] == u'\r') {
            if (!onPiece(text.sliced(start, i - 1 - start)))
                return;
            start = i + 1;
        }
    }
    onPiece(text.sliced(start));
}

} // namespace wordloom::ops::crlf
