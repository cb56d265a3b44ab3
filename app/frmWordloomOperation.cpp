// The busy state every command runs inside, and the handling of a failed command.
#include "frmWordloom.h"

#include "CommandObserver.h"

#include <QMetaObject>
#include <QPushButton>

#include <new>

namespace wordloom {

// The wait pointer, set on the panes too since they keep their own pointer
// otherwise; and long pane writes paced so that the window keeps painting.
void frmWordloom::setBusyLook(bool wait)
{
    rtbText->setPacing(wait);
    rtbResult->setPacing(wait);
    if (wait) {
        setCursor(Qt::WaitCursor);
        rtbText->viewport()->setCursor(Qt::WaitCursor);
        rtbResult->viewport()->setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
        rtbText->viewport()->setCursor(Qt::IBeamCursor);
        rtbResult->viewport()->setCursor(Qt::IBeamCursor);
    }
}

void frmWordloom::BeginOperation()
{
    setBusyLook(true);
    sbStatus->pumpNextPost();
    ShowStatus(QStringLiteral("Starting..."));
    cmdCancel->setEnabled(true);
}

void frmWordloom::EndOperation()
{
    cmdCancel->setEnabled(false);
    setBusyLook(false);
    sbStatus->flush();
}

void frmWordloom::cmdCancel_Click()
{
    cmdCancel->setEnabled(false);
    stopFileRead(tr("Cancelled"));
}

void frmWordloom::ShowStatus(const QString &text)
{
    if (services_.observer)
        services_.observer->atStatus(text, {NestDepth, SaveDepth, rtbWork.Text(), rtbSave.Text()});
    basLibStatusBar::ShowStatus(*sbStatus, 1, text);
}

namespace {
// What a caught failure says, whatever was thrown.
QString describeFailure()
{
    try {
        throw;
    } catch (const std::bad_alloc &) {
        return frmWordloom::tr("there was not enough memory.");
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return frmWordloom::tr("an unexpected error occurred.");
    }
}
} // namespace

void frmWordloom::runHandler(const QString &commandName, const std::function<void()> &handler)
{
    if (closeRequested_)
        return;
    // A command works on the text that is there: a drop still being read is dropped.
    stopFileRead();
    const qint16 nestDepthAtStart = NestDepth;
    ++runningHandlers_;
    try {
        handler();
    } catch (...) {
        recoverFromFailure(nestDepthAtStart, commandName, describeFailure());
    }
    --runningHandlers_;
    if (runningHandlers_ == 0 && closeRequested_)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void frmWordloom::recoverFromFailure(qint16 nestDepthAtStart, const QString &commandName,
                                     const QString &what)
{
    // The de-duplication commands put the user's text back themselves on the
    // way out; here the window only leaves the busy state.
    NestDepth = nestDepthAtStart;
    EndOperation();
    dialogs().failureBox(tr("%1 could not finish: %2\nYour text is unchanged.").arg(commandName, what),
                         windowTitle());
}

void frmWordloom::runEditHandler(const QString &name, const std::function<void()> &handler)
{
    // Editing commands change no busy state, so a failure only needs reporting.
    try {
        handler();
    } catch (...) {
        dialogs().failureBox(tr("%1 could not finish: %2").arg(name, describeFailure()), windowTitle());
    }
}

} // namespace wordloom
