#include "Utf8Lines.h"

#include "LargePages.h"

#include <cstring>

namespace wordloom::ops {

namespace {

qsizetype countLineFeeds(const char *p, qsizetype n)
{
    qsizetype count = 0;
    for (const char *end = p + n; (p = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p))));
         ++p)
        ++count;
    return count;
}

void tabsToSpaces(char *p, qsizetype n)
{
    for (char *end = p + n; (p = static_cast<char *>(std::memchr(p, '\t', std::size_t(end - p))));)
        *p++ = ' ';
}

} // namespace

std::vector<QByteArrayView> utf8Lines(QByteArray &bytes, bool raw, bool endsText)
{
    std::vector<QByteArrayView> lines;
    if (bytes.isEmpty())
        return lines;
    char *const text = bytes.data();
    const qsizetype n = bytes.size();
    tabsToSpaces(text, n);
    reserveLarge(lines, std::size_t(countLineFeeds(text, n)) + 1);
    const auto add = [&](qsizetype from, qsizetype to) {
        while (from < to && text[from] == ' ')
            ++from;
        lines.emplace_back(text + from, to - from);
    };
    qsizetype start = 0;
    for (const char *lf = text; (lf = static_cast<const char *>(std::memchr(lf, '\n', std::size_t(text + n - lf))));
         ++lf) {
        const qsizetype at = lf - text;
        const bool crBefore = at > start && text[at - 1] == '\r';
        if (raw && !crBefore)
            continue; // a lone LF is part of the line
        add(start, crBefore ? at - 1 : at);
        start = at + 1;
    }
    if (endsText || start < n)
        add(start, n);
    return lines;
}

} // namespace wordloom::ops
