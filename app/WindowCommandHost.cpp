#include "WindowCommandHost.h"

#include "frmWordloom.h"

#include <QCoreApplication>
#include <QPushButton>

namespace wordloom {

QString WindowCommandHost::inputText()
{
    return window_.rtbText->Text();
}

void WindowCommandHost::showStatus(const QString &text)
{
    window_.ShowStatus(text);
}

bool WindowCommandHost::cancelRequested()
{
    // Pressing Cancel only disables the button; that is the whole request.
    return !window_.cmdCancel->isEnabled();
}

void WindowCommandHost::processEvents()
{
    QCoreApplication::processEvents();
}

void WindowCommandHost::setWorkText(const QString &text)
{
    window_.rtbWork.setText(text);
}

void WindowCommandHost::setResultText(const QString &text)
{
    window_.rtbResult->setText(text);
}

} // namespace wordloom
