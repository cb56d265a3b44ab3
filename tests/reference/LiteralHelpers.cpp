#include "LiteralFrequency.h"

#include "TextCodec.h"

#include <stdexcept>
#include <vector>

namespace wordloom::reference {

namespace {
QString scanText;
std::int64_t scanPosition = 0;

bool keeps(int code)
{
    return code == 32 || code == 39 || (code >= 48 && code <= 57) || (code >= 65 && code <= 90)
        || (code >= 97 && code <= 122);
}

QString collapsePairs(QString w)
{
    while (w.contains(QStringLiteral("  ")))
        w.replace(QStringLiteral("  "), QStringLiteral(" "));
    return w;
}

bool binaryGreater(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i)
        if (a[i].unicode() != b[i].unicode())
            return a[i].unicode() > b[i].unicode();
    return a.size() > b.size();
}
} // namespace

QString KeepWordCharacters(const QString &text)
{
    QString w = text;
    for (qsizetype i = 0; i < w.size(); ++i) {
        const QChar c = w[i];
        if (!keeps(ansiCode(c)))
            w.replace(c, QChar(u' '));
    }
    return collapsePairs(w);
}

qsizetype FindInArray(const QStringList &array, const QString &value)
{
    for (qsizetype i = 0; i < array.size(); ++i)
        if (array[i] == value)
            return i;
    return -1;
}

QString NextWord(const QString &text)
{
    if (!text.isEmpty()) {
        QString t = collapsePairs(text);
        while (t.startsWith(u' '))
            t.remove(0, 1);
        while (t.endsWith(u' '))
            t.chop(1);
        scanText = t + QStringLiteral(" ");
        scanPosition = 1;
        return QString();
    }
    const QString rest = scanPosition - 1 < scanText.size() ? scanText.mid(scanPosition - 1) : QString();
    const qsizetype b = rest.indexOf(u' ') + 1;
    if (b > 0) {
        scanPosition += b;
        return rest.left(b - 1);
    }
    return QString();
}

std::int64_t NextWordPosition()
{
    return scanPosition;
}

std::int64_t CountOccurrences(const QString &text, const QString &pattern, std::int64_t start)
{
    if (start < 1)
        throw std::logic_error("search start before the text");
    std::int64_t count = 0;
    std::int64_t p = start;
    for (;;) {
        const qsizetype found = p - 1 <= text.size() ? text.indexOf(pattern, p - 1) : -1;
        if (found < 0)
            return count;
        ++count;
        p = found + 1 + pattern.size() - 1;
    }
}

QString PadToWidth(const QString &text, qsizetype width)
{
    QString t = text;
    while (t.endsWith(u' '))
        t.chop(1);
    return (t + QString(width, u' ')).left(width);
}

QString RenderCount(std::int64_t count, const QString &separator)
{
    if (count == 0)
        return QString();
    QString digits = QString::number(count), out;
    while (digits.size() > 3) {
        out = separator + digits.right(3) + out;
        digits.chop(3);
    }
    return digits + out;
}

void SortStringArray(QStringList &list)
{
    const qsizetype n = list.size();
    std::vector<qsizetype> order(n);
    for (qsizetype k = 0; k < n; ++k)
        order[k] = k;
    bool sorted;
    do {
        sorted = true;
        for (qsizetype k = 0; k + 1 < n; ++k)
            if (binaryGreater(list[order[k]], list[order[k + 1]])) {
                std::swap(order[k], order[k + 1]);
                sorted = false;
            }
    } while (!sorted);
    QStringList result;
    for (qsizetype k = 0; k < n; ++k)
        result.append(list[order[k]]);
    list = result;
}

void SortA2ThenA1(FrequencyTable &table, CommandHost &host)
{
    bool sorted;
    do {
        sorted = true;
        for (size_t i = 0; i + 1 < table.size(); ++i) {
            const auto &a = table[i], &b = table[i + 1];
            if (a.count > b.count || (a.count == b.count && binaryGreater(a.text, b.text))) {
                std::swap(table[i], table[i + 1]);
                sorted = false;
                if (host.cancelRequested())
                    return;
            }
        }
        host.processEvents();
    } while (!sorted);
}

} // namespace wordloom::reference
