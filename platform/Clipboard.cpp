#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace wordloom {

QString withLineFeeds(const QString &paneText)
{
    // One pass: QString::replace slows down more than linearly when a text of
    // megabytes has a match on every line.
    if (!paneText.contains(u'\r'))
        return paneText;
    QString text(paneText.size(), Qt::Uninitialized);
    QChar *out = text.data();
    const QChar *in = paneText.constData(), *end = in + paneText.size();
    for (; in < end; ++in) {
        if (*in == u'\r' && in + 1 < end && in[1] == u'\n')
            continue;
        *out++ = *in;
    }
    text.truncate(out - text.constData());
    return text;
}

QString SystemClipboard::text() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    return data && data->hasText() ? data->text() : QString();
}

void SystemClipboard::setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

} // namespace wordloom
