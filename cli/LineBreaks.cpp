#include "LineBreaks.h"

namespace wordloom::cli {

QString toCrLf(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16 + 16);
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == u'\n' && (i == 0 || p[i - 1] != u'\r'))
            out.append(u'\r');
        out.append(p[i]);
    }
    return out;
}

QString crLfToLf(const QString &text)
{
    QString out;
    out.reserve(text.size());
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n')
            continue;
        out.append(p[i]);
    }
    return out;
}

} // namespace wordloom::cli
