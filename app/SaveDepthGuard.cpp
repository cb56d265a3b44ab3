#include "SaveDepthGuard.h"

#include "frmWordloom.h"

#include <QCoreApplication>

namespace wordloom {

SaveDepthGuard::SaveDepthGuard(frmWordloom &window) : window_(window)
{
    if (window_.SaveDepth == 0)
        window_.rtbSave.setText(window_.rtbText->Text());
    ++window_.SaveDepth;
}

SaveDepthGuard::~SaveDepthGuard()
{
    try {
        if (!released_)
            release(false);
        else if (restorePending_)
            restore();
    } catch (...) {
        // Unwinding from a failure already; the failure report follows.
    }
}

void SaveDepthGuard::release(bool announce)
{
    released_ = true;
    --window_.SaveDepth;
    if (window_.SaveDepth != 0)
        return;
    restorePending_ = true;
    if (announce)
        window_.ShowStatus(QStringLiteral("Reshuffling..."));
    restore();
    if (announce)
        QCoreApplication::processEvents();
}

void SaveDepthGuard::restore()
{
    window_.rtbText->setText(window_.rtbSave.Text());
    restorePending_ = false;
}

} // namespace wordloom
