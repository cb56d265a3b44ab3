// Files dropped on either pane: their text replaces the input pane's.
#include "frmWordloom.h"

#include "basLibStatusBar.h"
#include "AppIdentity.h"
#include "TextFileReader.h"

#include <QFileInfo>

namespace wordloom {

namespace {
// Why a file was not loaded, or nothing when it was.
QString refusal(const TextFile &file, const QString &name)
{
    switch (file.outcome) {
    case TextFile::Outcome::Text:
        return {};
    case TextFile::Outcome::TooLarge:
        return frmWordloom::tr("%1 is larger than 200 MB and was not loaded.").arg(name);
    case TextFile::Outcome::Binary:
        return frmWordloom::tr("%1 is not a text file and was not loaded.").arg(name);
    case TextFile::Outcome::Unreadable:
        break;
    }
    return frmWordloom::tr("%1 cannot be read: %2.").arg(name, file.reason);
}
} // namespace

void frmWordloom::connectFileDrops()
{
    // Queued, so that a message box never opens inside the drop itself.
    for (TextPane *pane : {rtbText, rtbResult})
        connect(pane, &TextPane::filesDropped, this, &frmWordloom::loadFiles, Qt::QueuedConnection);
}

void frmWordloom::loadFiles(const QStringList &paths)
{
    QString text;
    QStringList asCodePage;
    for (const QString &path : paths) {
        const QString name = QFileInfo(path).fileName();
        const TextFile file = readTextFile(path);
        if (const QString why = refusal(file, name); !why.isEmpty()) {
            dialogs().messageBox(why, AppIdentity::title());
            return;
        }
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')) && !text.endsWith(QLatin1Char('\r')))
            text += QStringLiteral("\r\n");
        text += file.text;
        if (file.codePage1252)
            asCodePage << name;
        if (text.size() > kMaxTextFileBytes) {
            dialogs().messageBox(tr("The files together are larger than 200 MB and were not loaded."),
                                 AppIdentity::title());
            return;
        }
    }
    rtbText->selectAll();
    rtbText->setSelText(text);
    if (!asCodePage.isEmpty()) {
        const QString names = asCodePage.join(QStringLiteral(", "));
        basLibStatusBar::ShowStatus(*sbStatus, 1, tr("Not Unicode, read as code page 1252: %1").arg(names));
    }
}

} // namespace wordloom
