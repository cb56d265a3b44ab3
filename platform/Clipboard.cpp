#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace wordloom {

QString withLineFeeds(const QString &paneText)
{
    QString text = paneText;
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
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
