#include "PaneDisplayText.h"

#include <algorithm>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace wordloom::PaneDisplayText {

namespace {
bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n' || (c & 0xFFFE) == 0x2028; // 0x2028 and 0x2029
}
// The position of the first line break in [from, to), or `to`; eight
// characters at a time where the processor can, since texts run to megabytes.
qsizetype findLineBreak(const char16_t *text, qsizetype from, qsizetype to)
{
    qsizetype i = from;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi16(u'\r'), lf = _mm_set1_epi16(u'\n');
    const __m128i separators = _mm_set1_epi16(0x2028), pairMask = _mm_set1_epi16(short(0xFFFE));
    for (; i + 8 <= to; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, cr), _mm_cmpeq_epi16(v, lf)),
                                         _mm_cmpeq_epi16(_mm_and_si128(v, pairMask), separators));
        if (const int bits = _mm_movemask_epi8(hit))
            return i + __builtin_ctz(unsigned(bits)) / 2;
    }
#endif
    while (i < to && !isLineBreak(text[i]))
        ++i;
    return i;
}
} // namespace

void DocumentTextBuilder::lineBreak(char16_t *out, qsizetype &length, bool display)
{
    lineLength_ = 0;
    if (display || ++lines_ % kLinesPerParagraph == 0) {
        out[length++] = QChar::ParagraphSeparator;
        paragraphLines_.push_back(linesInParagraph_);
        linesInParagraph_ = 1;
        return;
    }
    out[length++] = QChar::LineSeparator;
    ++linesInParagraph_;
}

QString DocumentTextBuilder::next(QStringView piece, std::vector<int> &displayBreaks)
{
    const char16_t *in = piece.utf16();
    const qsizetype n = piece.size();
    QString display(n + n / kLongestShownLine + 1, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(display.data());
    qsizetype length = 0;
    for (qsizetype i = 0; i < n;) {
        // A run of ordinary characters, up to where the shown line is full.
        const qsizetype limit = std::min(n, i + (kLongestShownLine - lineLength_));
        const qsizetype end = findLineBreak(in, i, limit);
        std::copy(in + i, in + end, out + length);
        length += end - i;
        lineLength_ += end - i;
        i = end;
        if (i == n)
            break;
        if (isLineBreak(in[i])) {
            i += in[i] == u'\r' && i + 1 < n && in[i + 1] == u'\n' ? 2 : 1;
            lineBreak(out, length, false);
        } else {
            displayBreaks.push_back(int(length));
            lineBreak(out, length, true);
        }
    }
    display.truncate(length);
    return display;
}

QString toDocument(QStringView text, std::vector<int> &displayBreaks)
{
    return DocumentTextBuilder().next(text, displayBreaks);
}

QString fromDocument(QStringView raw, int first, const std::vector<int> &displayBreaks)
{
    const auto begin = std::lower_bound(displayBreaks.begin(), displayBreaks.end(), first);
    const auto end = std::lower_bound(begin, displayBreaks.end(), first + int(raw.size()));
    // Sized exactly first: the text can be tens of megabytes.
    const qsizetype separators = std::count_if(raw.begin(), raw.end(), isSeparator);
    QString text(raw.size() + separators - 2 * (end - begin), Qt::Uninitialized);
    QChar *out = text.data();
    auto added = begin;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (!isSeparator(c)) {
            *out++ = c;
            continue;
        }
        if (added != end && *added == first + i) {
            ++added;
            continue;
        }
        *out++ = u'\r';
        *out++ = u'\n';
    }
    return text;
}

} // namespace wordloom::PaneDisplayText
