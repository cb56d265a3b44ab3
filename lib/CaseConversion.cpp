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

bool isUnpaired(const QString &text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
    return c.isLowSurrogate() && (i == 0 || !text[i - 1].isHighSurrogate());
}

qsizetype firstUnpaired(const QString &text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i)
        if (text[i].isSurrogate() && isUnpaired(text, i))
            return i;
    return -1;
}

// Qt writes U+FFFD for an unpaired surrogate it meets while converting, and
// converting in place may also replace those at the end. The text is
// converted piece by piece between them instead, so that they stay as they
// are; Qt's mapping of a character does not depend on its neighbours.
template <typename Convert>
QString convertKeepingSurrogates(QString text, Convert convert)
{
    qsizetype unpaired = firstUnpaired(text, 0);
    if (unpaired < 0)
        return convert(std::move(text));
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (unpaired >= 0) {
        out += convert(text.mid(from, unpaired - from));
        out += text[unpaired];
        from = unpaired + 1;
        unpaired = firstUnpaired(text, from);
    }
    out += convert(text.mid(from));
    return out;
}
} // namespace

QString lowerCase(QString text)
{
    if (allAscii(text))
        return shiftedLetters(std::move(text), u'A', u'Z');
    return convertKeepingSurrogates(std::move(text), [](QString piece) { return std::move(piece).toLower(); });
}

QString upperCase(QString text)
{
    if (allAscii(text))
        return shiftedLetters(std::move(text), u'a', u'z');
    return convertKeepingSurrogates(std::move(text), [](QString piece) { return std::move(piece).toUpper(); });
}

} // namespace wordloom
