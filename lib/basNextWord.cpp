#include "basNextWord.h"

namespace basNextWord {

namespace {
QString scanText;
std::int64_t scanPosition = 0;

QString collapseSpaceRuns(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] != u' ' || i == 0 || text[i - 1] != u' ')
            out.append(text[i]);
    return out;
}

QString trimSpaces(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}
} // namespace

QString NextWord(const QString &text)
{
    if (!text.isEmpty()) {
        scanText = trimSpaces(collapseSpaceRuns(text)) + u' ';
        scanPosition = 1;
        return {};
    }
    const qsizetype from = scanPosition - 1;
    if (from < 0 || from >= scanText.size())
        return {};
    const qsizetype space = scanText.indexOf(u' ', from);
    if (space < 0)
        return {};
    scanPosition += space - from + 1;
    return scanText.sliced(from, space - from);
}

std::int64_t NextWordPosition()
{
    return scanPosition;
}

} // namespace basNextWord
