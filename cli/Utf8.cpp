#include "Utf8.h"

#include <algorithm>
#include <vector>

namespace wordloom::cli {

const char *utf16Form(QByteArrayView head)
{
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF"))
        return "UTF-16";
    const qsizetype pairs = head.size() / 2;
    qsizetype nulsAt[2] = {0, 0};
    for (qsizetype i = 0; i < 2 * pairs; ++i)
        nulsAt[i % 2] += head[i] == '\0';
    // The parity that holds the NULs is the high byte: odd in little-endian.
    for (const int high : {1, 0}) {
        const qsizetype many = nulsAt[high], few = nulsAt[1 - high];
        if (many > 0 && 8 * many >= pairs && 8 * few <= many)
            return high == 1 ? "UTF-16LE" : "UTF-16BE";
    }
    return nullptr;
}

bool writeUtf8(std::FILE *out, QStringView text, bool crLfToLf)
{
    constexpr qsizetype block = qsizetype(1) << 18;
    std::vector<char> bytes(3 * block + 4);
    const char16_t *units = text.utf16();
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = std::min(text.size(), start + block);
        if (end < text.size() && QChar::isHighSurrogate(units[end - 1]))
            ++end; // the pair is encoded whole
        const char *last = encodeUtf8(units, start, end, text.size(), crLfToLf, bytes.data());
        const size_t length = size_t(last - bytes.data());
        if (std::fwrite(bytes.data(), 1, length, out) != length)
            return false;
        start = end;
    }
    return std::fflush(out) == 0;
}

} // namespace wordloom::cli
