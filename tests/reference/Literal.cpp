#include "Literal.h"

#include "TextCodec.h"

#include <vector>

namespace wordloom::reference {

namespace {
bool kept(int code, bool lettersOnly)
{
    if (lettersOnly)
        return (code >= 97 && code <= 122) || (code >= 65 && code <= 90) || code == 32;
    return code >= 32 && code <= 126;
}
} // namespace

namespace {
QString caseText(const QString &text, bool upper)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QString character = text.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
        out += character.size() == 1 && character[0].isSurrogate() ? character
               : upper                                           ? character.toUpper()
                                                                 : character.toLower();
    }
    return out;
}
} // namespace

QString lowerCaseText(const QString &text)
{
    return caseText(text, false);
}

QString upperCaseText(const QString &text)
{
    return caseText(text, true);
}

QString filterText(const QString &text, const QString &replacement, bool lettersOnly)
{
    QString buffer(text.size(), u' ');
    qsizetype length = 0; // output length; the next position is length + 1
    for (qsizetype position = 1; position <= text.size(); ++position) {
        const int code = ansiCode(text[position - 1]);
        if (kept(code, lettersOnly)) {
            if (length + 1 > buffer.size()) // room for the kept character too
                buffer.append(QString(10 * std::max<qsizetype>(replacement.size(), 1), u' '));
            buffer[length] = QChar(char16_t(code));
            length += 1;
        } else if (!replacement.isEmpty()) {
            if (replacement.size() > 1 && length + 1 + replacement.size() > buffer.size())
                buffer.append(QString(10 * replacement.size(), u' '));
            for (qsizetype k = 0; k < replacement.size(); ++k)
                buffer[length + k] = replacement[k];
            length += replacement.size();
        }
    }
    return buffer.left(length);
}

QString byteToBinary(int code)
{
    QString digits;
    int remainder = code;
    for (int weight : {128, 64, 32, 16, 8, 4, 2, 1}) {
        if (weight > remainder) {
            digits += u'0';
        } else {
            digits += u'1';
            remainder -= weight;
        }
    }
    return digits;
}

QString textToBinaryCodes(const QString &text)
{
    QString result;
    for (QChar c : text)
        result += byteToBinary(ansiCode(c)) + u' ';
    return result;
}

namespace {
bool greater(const QString &a, const QString &b)
{
    for (qsizetype i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].unicode() != b[i].unicode())
            return a[i].unicode() > b[i].unicode();
    }
    return a.size() > b.size();
}
} // namespace

void sortStringArray(QStringList &list)
{
    const qsizetype n = list.size();
    std::vector<qsizetype> order(static_cast<std::size_t>(n));
    for (qsizetype k = 0; k < n; ++k)
        order[static_cast<std::size_t>(k)] = k;
    bool sorted;
    do {
        sorted = true;
        for (qsizetype k = 0; k + 1 < n; ++k) {
            if (greater(list[order[std::size_t(k)]], list[order[std::size_t(k) + 1]])) {
                std::swap(order[std::size_t(k)], order[std::size_t(k) + 1]);
                sorted = false;
            }
        }
    } while (!sorted);
    QStringList result;
    for (qsizetype k = 0; k < n; ++k)
        result.append(list[order[std::size_t(k)]]);
    list = result;
}

QStringList splitKeepingEmpty(const QString &text, const QString &separator)
{
    if (text.isEmpty())
        return {};
    return text.split(separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QString joinWith(const QStringList &items, const QString &separator)
{
    QString joined;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            joined += separator;
        joined += items[i];
    }
    return joined;
}

} // namespace wordloom::reference
