#include "basLibLibrary.h"

namespace basLibLibrary {

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
