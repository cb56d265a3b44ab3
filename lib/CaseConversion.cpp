#include "CaseConversion.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wordloom {

namespace {
bool allAscii(const QString &text)
{
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    qsizetype i = 0;
    char16_t any = 0;
#if defined(__SSE2__)
    __m128i seen = _mm_setzero_si128();
    for (; i + 8 <= n; i += 8)
        seen = _mm_or_si128(seen, _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i)));
    // Any unit of 0x80 or more leaves a bit at or above bit 7 in some lane.
    any = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(seen, _mm_set1_epi16(short(0xFF80))),
                                            _mm_setzero_si128())) == 0xFFFF ? 0 : 0x80;
#endif
    for (; i < n; ++i)
        any |= units[i];
    return any < 0x80;
}

// In ASCII the two mappings are the letters' ranges, one apart by 32.
QString shiftedLetters(QString text, char16_t first, char16_t last)
{
    char16_t *units = reinterpret_cast<char16_t *>(text.data());
    const qsizetype n = text.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    // Eight units at a time; they are all below 0x80, so signed comparison serves.
    const __m128i below = _mm_set1_epi16(short(first - 1)), above = _mm_set1_epi16(short(last + 1));
    const __m128i bit = _mm_set1_epi16(0x20);
    for (; i + 8 <= n; i += 8) {
        __m128i *at = reinterpret_cast<__m128i *>(units + i);
        const __m128i v = _mm_loadu_si128(at);
        const __m128i letter = _mm_and_si128(_mm_cmpgt_epi16(v, below), _mm_cmplt_epi16(v, above));
        _mm_storeu_si128(at, _mm_xor_si128(v, _mm_and_si128(letter, bit)));
    }
#endif
    for (; i < n; ++i)
        units[i] ^= char16_t(units[i] >= first && units[i] <= last) << 5;
    return text;
}
} // namespace

QString lowerCase(QString text)
{
    return allAscii(text) ? shiftedLetters(std::move(text), u'A', u'Z') : std::move(text).toLower();
}

QString upperCase(QString text)
{
    return allAscii(text) ? shiftedLetters(std::move(text), u'a', u'z') : std::move(text).toUpper();
}

} // namespace wordloom
