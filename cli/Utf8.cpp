#include "Utf8.h"

namespace wordloom::cli {

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

std::optional<qsizetype> firstInvalidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
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

} // namespace wordloom::cli
