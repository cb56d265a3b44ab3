#pragma once

#include <QString>

class QMenu;
class QWidget;

namespace wordloom {

// The window's modal dialogs, behind one seam so that tests can answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal input prompt; the answer, or the empty text when the user cancels.
    virtual QString inputBox(const QString &prompt, const QString &title, const QString &defaultAnswer) = 0;
    // Modal message with an OK button and no icon.
    virtual void messageBox(const QString &text, const QString &title) = 0;
    // Modal report of a command that failed, with a warning icon.
    virtual void failureBox(const QString &text, const QString &title) = 0;
    // A pop-up menu at the pointer, until it closes.
    virtual void popupMenu(QMenu &menu) = 0;
};

// The real dialogs, owned by the given parent window.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent) : parent_(parent) {}
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultAnswer) override;
    void messageBox(const QString &text, const QString &title) override;
    void failureBox(const QString &text, const QString &title) override;
    void popupMenu(QMenu &menu) override;

private:
    QWidget *parent_;
};

} // namespace wordloom
