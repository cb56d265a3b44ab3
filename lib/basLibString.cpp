#include "basLibString.h"

namespace basLibString {

QString KeepWordCharacters(const QString &text)
{
    // Replacing each offending character everywhere and then collapsing space
    // pairs comes down to: offending characters and spaces form runs, and each
    // run becomes a single space. One pass does that.
    QString out(text.size(), Qt::Uninitialized);
    WordCharacterWriter writer(reinterpret_cast<char16_t *>(out.data()));
    for (const QChar c : text)
        writer.put(c.unicode());
    out.truncate(writer.written());
    return out;
}

QStringView TrimSpaces(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace basLibString
