#include "LineBreaks.h"

#include <algorithm>

namespace wordloom::reference {

// Plain loops over the units: one library search per line costs more than
// the line. The result is allocated once.

QString toCrLf(const QString &text)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    qsizetype bare = n > 0 && p[0] == u'\n';
    for (qsizetype i = 1; i < n; ++i)
        bare += (p[i] == u'\n') & (p[i - 1] != u'\r');
    if (bare == 0)
        return text;
    QString out(n + bare, Qt::Uninitialized);
    char16_t *write = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == u'\n' && (i == 0 || p[i - 1] != u'\r'))
            *write++ = u'\r';
        *write++ = p[i];
    }
    return out;
}

QString crLfToLf(QStringView text)
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    QString out(n, Qt::Uninitialized);
    char16_t *write = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < n; ++i) {
        *write = p[i];
        // A CR is taken back when an LF follows it.
        write += !(p[i] == u'\r' && i + 1 < n && p[i + 1] == u'\n');
    }
    out.truncate(write - reinterpret_cast<const char16_t *>(out.constData()));
    return out;
}

} // namespace wordloom::reference
