#include "WindowCommandHost.h"

#include "CommandObserver.h"
#include "frmWordloom.h"

#include <QCoreApplication>
#include <QPushButton>

namespace wordloom {

QString WindowCommandHost::inputText() { return window_.rtbText->Text(); }
void WindowCommandHost::setInputText(const QString &text) { window_.rtbText->setText(text); }
QString WindowCommandHost::resultText() { return window_.rtbResult->Text(); }
void WindowCommandHost::setResultText(const QString &text) { window_.rtbResult->setText(text); }
void WindowCommandHost::setWorkText(const QString &text) { window_.rtbWork.setText(text); }
QString WindowCommandHost::saveText() { return window_.rtbSave.Text(); }
void WindowCommandHost::setSaveText(const QString &text) { window_.rtbSave.setText(text); }
qint16 &WindowCommandHost::nestDepth() { return window_.NestDepth; }
qint16 &WindowCommandHost::saveDepth() { return window_.SaveDepth; }
void WindowCommandHost::beginOperation() { window_.BeginOperation(); }
void WindowCommandHost::endOperation() { window_.EndOperation(); }
void WindowCommandHost::showStatus(const QString &text) { window_.ShowStatus(text); }

bool WindowCommandHost::cancelRequested()
{
    if (window_.services_.observer)
        window_.services_.observer->atCancelTest();
    // Pressing Cancel only disables the button; that is the whole request.
    return !window_.cmdCancel->isEnabled();
}

void WindowCommandHost::processEvents()
{
    QCoreApplication::processEvents();
}

void WindowCommandHost::stayResponsive()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace wordloom
