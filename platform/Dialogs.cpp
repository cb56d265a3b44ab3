#include "Dialogs.h"

#include <QCursor>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

namespace wordloom {

QString QtDialogs::inputBox(const QString &prompt, const QString &title, const QString &defaultAnswer)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, defaultAnswer, &ok);
    return ok ? answer : QString();
}

void QtDialogs::messageBox(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
    box.exec();
}

void QtDialogs::failureBox(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent_);
    box.exec();
}

void QtDialogs::popupMenu(QMenu &menu)
{
    menu.exec(QCursor::pos());
}

} // namespace wordloom
