// The panes' pop-up menu: opening it on a right click, and its commands.
#include "frmWordloom.h"

#include "basLibRichText.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include <limits>

namespace wordloom {

void frmWordloom::connectPopupMenu()
{
    auto bindPane = [this](TextPane *pane, void (frmWordloom::*handler)(Qt::MouseButton)) {
        connect(pane, &TextPane::mouseDown, this, [this, handler](Qt::MouseButton button) {
            runEditHandler(tr("The menu"), [&] { (this->*handler)(button); });
        });
    };
    auto bind = [this](QAction *item, auto signal, const QString &name, void (frmWordloom::*handler)()) {
        connect(item, signal, this, [this, name, handler] { runEditHandler(name, [&] { (this->*handler)(); }); });
    };
    bindPane(rtbText, &frmWordloom::rtbText_MouseDown);
    bindPane(rtbResult, &frmWordloom::rtbResult_MouseDown);
    bind(mnuTextPopupCut, &QAction::triggered, tr("Cut"), &frmWordloom::mnuTextPopupCut_Click);
    bind(mnuTextPopupCopy, &QAction::triggered, tr("Copy"), &frmWordloom::mnuTextPopupCopy_Click);
    bind(mnuTextPopupPaste, &QAction::triggered, tr("Paste"), &frmWordloom::mnuTextPopupPaste_Click);
    bind(mnuTextPopupDelete, &QAction::triggered, tr("Delete"), &frmWordloom::mnuTextPopupDelete_Click);
    bind(mnuTextPopupSelectAll, &QAction::triggered, tr("Select All"), &frmWordloom::mnuTextPopupSelectAll_Click);
    bind(mnuTextPopupFind, &QAction::triggered, tr("Find"), &frmWordloom::mnuTextPopupFind_Click);
    connect(mnuTextPopupWrap, &QAction::triggered, this, [this] {
        // Qt has already reversed the mark of a checkable item; the handler
        // does that itself, so undo it here first.
        mnuTextPopupWrap->setChecked(!mnuTextPopupWrap->isChecked());
        runEditHandler(tr("Wrap Lines"), [this] { mnuTextPopupWrap_Click(); });
    });
}

void frmWordloom::rtbText_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        openPanePopup(rtbText, QStringLiteral("TEXT OPTIONS"));
}

void frmWordloom::rtbResult_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        openPanePopup(rtbResult, QStringLiteral("RESULT OPTIONS"));
}

void frmWordloom::openPanePopup(TextPane *pane, const QString &heading)
{
    pane->setFocus();
    activePane_ = pane;
    mnuTextPopupCaption->setText(heading);
    QCoreApplication::processEvents();

    const bool selected = !pane->selText().isEmpty();
    const bool editable = !pane->isReadOnly();
    const bool hasText = pane->hasText();
    mnuTextPopupCut->setEnabled(selected && editable);
    mnuTextPopupCopy->setEnabled(selected);
    mnuTextPopupDelete->setEnabled(selected && editable);
    mnuTextPopupFind->setEnabled(hasText);
    mnuTextPopupSelectAll->setEnabled(hasText);
    mnuTextPopupPaste->setEnabled(!clipboard().text().isEmpty() && editable);

    dialogs().popupMenu(*mnuTextPopup);
}

void frmWordloom::mnuTextPopupCut_Click()
{
    if (TextPane *pane = ActiveControl()) {
        clipboard().setText(withLineFeeds(pane->selText()));
        pane->setSelText(QString());
    }
}

void frmWordloom::mnuTextPopupCopy_Click()
{
    if (TextPane *pane = ActiveControl())
        clipboard().setText(withLineFeeds(pane->selText()));
}

void frmWordloom::mnuTextPopupPaste_Click()
{
    if (TextPane *pane = ActiveControl())
        pane->setSelText(clipboard().text());
}

void frmWordloom::mnuTextPopupDelete_Click()
{
    if (TextPane *pane = ActiveControl())
        pane->setSelText(QString());
}

void frmWordloom::mnuTextPopupSelectAll_Click()
{
    if (TextPane *pane = ActiveControl()) {
        pane->setSelStart(0);
        // The length of Text, which counts a line break as two characters
        // where the pane has one position, always reaches the end; the pane
        // stops the selection there, so the whole text need not be built to
        // measure it.
        pane->setSelLength(std::numeric_limits<int>::max());
    }
}

void frmWordloom::mnuTextPopupFind_Click()
{
    if (TextPane *pane = ActiveControl())
        basLibRichText::FindText(*pane, SearchText, SearchPosition, dialogs());
}

void frmWordloom::mnuTextPopupWrap_Click()
{
    mnuTextPopupWrap->setChecked(!mnuTextPopupWrap->isChecked());
    if (TextPane *pane = ActiveControl())
        basLibRichText::SetWordWrap(*pane, mnuTextPopupWrap->isChecked());
}

} // namespace wordloom
