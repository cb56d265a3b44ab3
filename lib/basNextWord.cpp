#include "basNextWord.h"

#include "basLibString.h"

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

} // namespace

QString NextWord(const QString &text)
{
    if (!text.isEmpty()) {
        scanText = basLibString::TrimSpaces(collapseSpaceRuns(text)).toString() + u' ';
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
