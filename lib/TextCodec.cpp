#include "TextCodec.h"

#include "LargePages.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace wordloom {

namespace {
bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed sequence at i, or 0.
int sequenceLength(const unsigned char *p, qsizetype left)
{
    const unsigned char b = p[0];
    if (b < 0x80)
        return 1;
    int len;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;          // overlong
        if (b == 0xED) hi = 0x9F;          // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;          // overlong
        if (b == 0xF4) hi = 0x8F;          // above U+10FFFF
    } else {
        return 0;
    }
    if (left < len || p[1] < lo || p[1] > hi)
        return 0;
    for (int k = 2; k < len; ++k)
        if (!isContinuation(p[k]))
            return 0;
    return len;
}
} // namespace

std::optional<qsizetype> firstInvalidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        // Plain ASCII is checked eight bytes at a time.
        while (i + 8 <= n) {
            quint64 word;
            std::memcpy(&word, p + i, sizeof word);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int len = sequenceLength(p + i, n - i);
        if (len == 0)
            return i;
        i += len;
    }
    return std::nullopt;
}

} // namespace wordloom

namespace wordloom {

namespace {

// The number of LF bytes (at most one CR is added for each).
qsizetype countLineFeeds(const unsigned char *p, qsizetype n)
{
    qsizetype count = 0, i = 0;
#if defined(__SSE2__)
    // Byte lanes count matches (a match is -1) for up to 255 blocks, then
    // are summed.
    while (i + 16 <= n) {
        __m128i lanes = _mm_setzero_si128();
        const qsizetype stop = std::min(n - 15, i + 16 * 255);
        for (; i < stop; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    }
#endif
    for (; i < n; ++i)
        count += p[i] == '\n';
    return count;
}

#if defined(__SSE2__)
// Widens sixteen bytes into sixteen units at `write` when all are ASCII, and
// returns how many of them count: all sixteen, or those before the first LF
// when `stopAtLf`. -1 (nothing written) when a byte is not ASCII.
int widenAscii(const unsigned char *p, char16_t *write, bool stopAtLf)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    if (_mm_movemask_epi8(bytes) != 0)
        return -1;
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i *>(write), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(write + 8), _mm_unpackhi_epi8(bytes, zero));
    const unsigned lf =
        stopAtLf ? unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')))) : 0;
    return lf == 0 ? 16 : std::countr_zero(lf);
}
#endif

// The code point of the well-formed sequence at p and its length.
char32_t decodeSequence(const unsigned char *p, int &length)
{
    if (p[0] < 0xE0) {
        length = 2;
        return char32_t(p[0] & 0x1F) << 6 | (p[1] & 0x3F);
    }
    if (p[0] < 0xF0) {
        length = 3;
        return char32_t(p[0] & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
    }
    length = 4;
    return char32_t(p[0] & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 |
           char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
}

} // namespace

QString decodeUtf8(QByteArrayView bytes, bool lfToCrLf)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    const qsizetype extra = lfToCrLf ? countLineFeeds(p, n) : 0;
    QString out(n + extra, Qt::Uninitialized);
    adviseLargePages(out.data(), std::size_t(n + extra) * sizeof(QChar));
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *write = begin;
    // An LF gets its CR unless the text already has one before it.
    auto writeLf = [&] {
        if (lfToCrLf && (write == begin || write[-1] != u'\r'))
            *write++ = u'\r';
        *write++ = u'\n';
    };
    qsizetype i = 0;
    while (i < n) {
#if defined(__SSE2__)
        // Never writes past the buffer: at most as many units as bytes read
        // plus the CRs already added.
        if (i + 16 <= n) {
            const int taken = widenAscii(p + i, write, lfToCrLf);
            if (taken >= 0) {
                i += taken;
                write += taken;
                if (taken < 16)
                    writeLf(), ++i;
                continue;
            }
        }
#endif
        if (p[i] < 0x80) {
            if (p[i] == '\n')
                writeLf(), ++i;
            else
                *write++ = p[i++];
            continue;
        }
        int length;
        const char32_t code = decodeSequence(p + i, length);
        i += length;
        if (code < 0x10000) {
            *write++ = char16_t(code);
        } else {
            *write++ = char16_t(0xD800 + ((code - 0x10000) >> 10));
            *write++ = char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    out.truncate(write - begin);
    return out;
}

namespace {

#if defined(__SSE2__)
// Narrows eight units into eight bytes at `write` when all are ASCII, and
// returns how many of them count: all eight, or those before the first CR
// when `stopAtCr`. -1 (nothing written) when a unit is not ASCII.
int narrowAscii(const char16_t *p, char *write, bool stopAtCr)
{
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    const __m128i high = _mm_and_si128(units, _mm_set1_epi16(short(0xFF80)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF)
        return -1;
    _mm_storel_epi64(reinterpret_cast<__m128i *>(write), _mm_packus_epi16(units, units));
    const unsigned cr =
        stopAtCr ? unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(units, _mm_set1_epi16(13)))) : 0;
    return cr == 0 ? 8 : std::countr_zero(cr) / 2;
}
#endif

} // namespace

char *encodeUtf8(const char16_t *text, qsizetype from, qsizetype to, qsizetype size,
                 bool crLfToLf, char *write)
{
    for (qsizetype i = from; i < to; ++i) {
#if defined(__SSE2__)
        // Runs of ASCII go eight units at a time, up to a CR that may drop.
        while (i + 8 <= to) {
            const int taken = narrowAscii(text + i, write, crLfToLf);
            if (taken < 0)
                break;
            i += taken;
            write += taken;
            if (taken < 8)
                break;
        }
#else
        // Runs of ASCII without CR go four units at a time.
        while (i + 4 <= to) {
            std::uint64_t units;
            std::memcpy(&units, text + i, sizeof units);
            const std::uint64_t cr = units ^ 0x000D000D000D000DULL;
            if ((units & 0xFF80FF80FF80FF80ULL) ||
                ((cr - 0x0001000100010001ULL) & ~cr & 0x8000800080008000ULL))
                break;
            for (int k = 0; k < 4; ++k)
                write[k] = char(text[i + k]);
            write += 4;
            i += 4;
        }
#endif
        if (i >= to)
            break;
        const char16_t u = text[i];
        if (u < 0x80) {
            *write = char(u);
            write += !(crLfToLf && u == u'\r' && i + 1 < size && text[i + 1] == u'\n');
        } else if (u < 0x800) {
            *write++ = char(0xC0 | (u >> 6));
            *write++ = char(0x80 | (u & 0x3F));
        } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < size && text[i + 1] >= 0xDC00 &&
                   text[i + 1] <= 0xDFFF) {
            const char32_t code = 0x10000 + (char32_t(u - 0xD800) << 10) + (text[++i] - 0xDC00);
            *write++ = char(0xF0 | (code >> 18));
            *write++ = char(0x80 | ((code >> 12) & 0x3F));
            *write++ = char(0x80 | ((code >> 6) & 0x3F));
            *write++ = char(0x80 | (code & 0x3F));
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            *write++ = '?';
        } else {
            *write++ = char(0xE0 | (u >> 12));
            *write++ = char(0x80 | ((u >> 6) & 0x3F));
            *write++ = char(0x80 | (u & 0x3F));
        }
    }
    return write;
}

void appendUtf8(std::string &out, QStringView text)
{
    const std::size_t at = out.size();
    out.resize(at + 3 * std::size_t(text.size()));
    const char *end = encodeUtf8(reinterpret_cast<const char16_t *>(text.utf16()), 0, text.size(), text.size(),
                                 false, out.data() + at);
    out.resize(std::size_t(end - out.data()));
}

namespace {
// Code page 1252's codes 0x80 to 0x9F; the five it leaves unassigned stand for
// the control characters of the same number.
constexpr char16_t kHighCodes[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

struct HighCode {
    char16_t unit;
    unsigned char code;
};

// The assigned high codes ordered by character, for the way back.
constexpr auto kHighByUnit = [] {
    std::array<HighCode, 27> byUnit{};
    std::size_t n = 0;
    for (int i = 0; i < 32; ++i)
        if (kHighCodes[i] != char16_t(0x80 + i))
            byUnit[n++] = HighCode{kHighCodes[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(byUnit.begin(), byUnit.end(), [](HighCode a, HighCode b) { return a.unit < b.unit; });
    return byUnit;
}();
} // namespace

int ansiCodeBeyondLatin1(char16_t unit)
{
    const auto it = std::lower_bound(kHighByUnit.begin(), kHighByUnit.end(), unit,
                                     [](HighCode h, char16_t u) { return h.unit < u; });
    return it != kHighByUnit.end() && it->unit == unit ? it->code : 63;
}

QString fromCodePage1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = b >= 0x80 && b < 0xA0 ? kHighCodes[b - 0x80] : char16_t(b);
    }
    return text;
}

} // namespace wordloom
