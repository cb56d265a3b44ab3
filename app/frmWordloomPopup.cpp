// The panes' pop-up menu: opening it on a right click, and its commands.
#include "frmWordloom.h"

#include "lib/basLibRichText.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>

namespace wordloom {

void frmWordloom::connectPopupMenu()
{
    connect(rtbText, &TextPane::mouseDown, this, &frmWordloom::rtbText_MouseDown);
    connect(rtbResult, &TextPane::mouseDown, this, &frmWordloom::rtbResult_MouseDown);
    connect(mnuTextPopupCut, &QAction::triggered, this, &frmWordloom::mnuTextPopupCut_Click);
    connect(mnuTextPopupCopy, &QAction::triggered, this, &frmWordloom::mnuTextPopupCopy_Click);
    connect(mnuTextPopupPaste, &QAction::triggered, this, &frmWordloom::mnuTextPopupPaste_Click);
    connect(mnuTextPopupDelete, &QAction::triggered, this, &frmWordloom::mnuTextPopupDelete_Click);
    connect(mnuTextPopupSelectAll, &QAction::triggered, this, &frmWordloom::mnuTextPopupSelectAll_Click);
    connect(mnuTextPopupFind, &QAction::triggered, this, &frmWordloom::mnuTextPopupFind_Click);
    connect(mnuTextPopupWrap, &QAction::triggered, this, [this] {
        // Qt has already reversed the mark of a checkable item; the handler
        // does that itself, so undo it here first.
        mnuTextPopupWrap->setChecked(!mnuTextPopupWrap->isChecked());
        mnuTextPopupWrap_Click();
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

    if (showPopupMenu)
        showPopupMenu(*mnuTextPopup);
    else
        mnuTextPopup->exec(QCursor::pos());
}

void frmWordloom::mnuTextPopupCut_Click()
{
    if (TextPane *pane = ActiveControl()) {
        clipboard().setText(pane->selText());
        pane->setSelText(QString());
    }
}

void frmWordloom::mnuTextPopupCopy_Click()
{
    if (TextPane *pane = ActiveControl())
        clipboard().setText(pane->selText());
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
        // Text counts a line break as two characters, the pane as one
        // position; the pane stops the selection at its end.
        pane->setSelLength(int(pane->Text().size()));
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
