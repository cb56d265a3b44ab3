// Unique Lines and Unique Words: nested commands around Sort Lines and Sort Words.
#include "frmWordloom.h"

#include "SaveDepthGuard.h"
#include "WindowCommandHost.h"
#include "ops/UniqueLines.h"

#include <QCoreApplication>
#include <QPushButton>

namespace wordloom {

namespace {
bool cancelRequested(const frmWordloom &w)
{
    return !w.cmdCancel->isEnabled();
}
} // namespace

void frmWordloom::cmdUniqueLines_Click()
{
    SaveDepthGuard saved(*this);
    ++NestDepth;
    cmdSortLines_Click();
    --NestDepth;

    auto leave = [this] {
        if (NestDepth == 0)
            EndOperation();
    };
    auto cancel = [&] {
        ShowStatus(QStringLiteral("Cancelled"));
        saved.release(false);
        leave();
    };
    if (cancelRequested(*this))
        return cancel();
    ShowStatus(QStringLiteral("Shuffling..."));
    rtbText->setText(rtbResult->Text());
    if (cancelRequested(*this))
        return cancel();

    WindowCommandHost host(*this);
    const auto kept = ops::keepUniqueSortedLines(rtbResult->Text(), host);
    if (!kept)
        return cancel();

    saved.release(true);
    ShowStatus(QStringLiteral("Formatting..."));
    rtbResult->setText(ops::joinLines(*kept));
    ShowStatus(cancelRequested(*this) ? QStringLiteral("Cancelled") : QStringLiteral("Ready"));
    leave();
}

void frmWordloom::cmdUniqueWords_Click()
{
    SaveDepthGuard saved(*this);
    ++NestDepth;
    cmdSortWords_Click();
    --NestDepth;

    if (cancelRequested(*this)) {
        ShowStatus(QStringLiteral("Cancelled"));
    } else {
        rtbText->setText(rtbResult->Text());
        QCoreApplication::processEvents();
        ++NestDepth;
        cmdUniqueLines_Click();
        --NestDepth;
        if (cancelRequested(*this))
            ShowStatus(QStringLiteral("Cancelled"));
    }
    saved.release(false);
    EndOperation();
}

} // namespace wordloom
