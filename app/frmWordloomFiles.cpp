// Files dropped on either pane: their text replaces the input pane's. They are
// read off the window's thread, inside the busy state, and Cancel stops the
// read; the input pane changes only once the whole drop has been read.
#include "frmWordloom.h"

#include "AppIdentity.h"
#include "FileDropRead.h"

#include <QPushButton>

namespace wordloom {

void frmWordloom::connectFileDrops()
{
    // Queued, so that a message box never opens inside the drop itself.
    for (TextPane *pane : {rtbText, rtbResult})
        connect(pane, &TextPane::filesDropped, this, &frmWordloom::loadFiles, Qt::QueuedConnection);
}

void frmWordloom::loadFiles(const QStringList &paths)
{
    stopFileRead(); // a new drop replaces one still being read
    // A running command keeps its own busy state and Cancel.
    const bool ownBusyState = !isRunningCommand();
    if (ownBusyState) {
        setBusyLook(true);
        cmdCancel->setEnabled(true);
    }
    showDropStatus(tr("Reading..."));
    fileRead_ = std::make_unique<FileDropRead>(
        paths, this, [this, ownBusyState](DroppedText dropped) { fileReadDone(std::move(dropped), ownBusyState); },
        services_.observer);
}

// Posted without processing events, so that no other drop or press can come
// in between.
void frmWordloom::showDropStatus(const QString &text)
{
    sbStatus->setPostedText(1, text);
    sbStatus->flush();
}

void frmWordloom::stopFileRead(const QString &status)
{
    if (!fileRead_)
        return;
    fileRead_.reset();
    if (!isRunningCommand()) {
        cmdCancel->setEnabled(false);
        setBusyLook(false);
    }
    if (!status.isEmpty())
        showDropStatus(status);
}

void frmWordloom::fileReadDone(DroppedText dropped, bool ownBusyState)
{
    fileRead_.reset();
    if (ownBusyState && !isRunningCommand()) {
        cmdCancel->setEnabled(false);
        setBusyLook(false);
    }
    showDropStatus(tr("Ready"));
    if (!dropped.refusal.isEmpty()) {
        dialogs().messageBox(dropped.refusal, AppIdentity::title());
        return;
    }
    rtbText->selectAll();
    rtbText->setSelText(dropped.text);
    if (!dropped.asCodePage.isEmpty()) {
        const QString names = dropped.asCodePage.join(QStringLiteral(", "));
        showDropStatus(tr("Not Unicode, read as code page 1252: %1").arg(names));
    }
}

} // namespace wordloom
