#include "basLibLibrary.h"

#include "AnsiCode.h"
#include "CodeUnitOrder.h"

#include <vector>

namespace basLibLibrary {

namespace {

bool isKept(int code, bool lettersOnly)
{
    if (lettersOnly)
        return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') || code == ' ';
    return code >= 32 && code <= 126;
}

qsizetype countRejected(const QString &text, bool lettersOnly)
{
    qsizetype rejected = 0;
    for (QChar c : text)
        rejected += !isKept(wordloom::ansiCode(c), lettersOnly);
    return rejected;
}

} // namespace

QString FilterText(const QString &text, const QString &replacement, bool lettersOnly)
{
    // A replacement of at most one character never outgrows the input's
    // length; a longer one is counted first, so the buffer is allocated once
    // with room for everything written, kept characters included.
    const qsizetype n = text.size();
    const qsizetype r = replacement.size();
    const qsizetype capacity = r <= 1 ? n : n + countRejected(text, lettersOnly) * (r - 1);
    QString out(capacity, Qt::Uninitialized);
    QChar *write = out.data();
    const QChar *with = replacement.constData();
    for (QChar c : text) {
        const int code = wordloom::ansiCode(c);
        if (isKept(code, lettersOnly)) {
            *write++ = QChar(char16_t(code));
        } else {
            for (qsizetype k = 0; k < r; ++k)
                *write++ = with[k];
        }
    }
    out.truncate(write - out.constData());
    return out;
}

void SortStringArray(QStringList &list)
{
    if (list.size() < 2)
        return;
    const std::vector<QStringView> views(list.cbegin(), list.cend());
    const std::vector<std::uint32_t> order = wordloom::stableCodeUnitOrder(views);
    QStringList sorted;
    sorted.reserve(list.size());
    for (const std::uint32_t index : order)
        sorted.append(std::move(list[index]));
    list = std::move(sorted);
}

QString PadToWidth(const QString &text, qsizetype width, QChar fill)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    QString padded;
    padded.reserve(width);
    padded.append(QStringView(text).first(std::min(end, width)));
    padded.append(QString(width - padded.size(), fill));
    return padded;
}

} // namespace basLibLibrary
