// The keys a desktop user expects: Enter presses the focused button, Escape
// presses Cancel while a command runs.
#include "frmWordloom.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

namespace wordloom {

namespace {

// Outside a dialog a push button takes only Space; Enter there should press it too.
class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!enter || !button || (key->modifiers() & ~Qt::KeypadModifier) || key->isAutoRepeat())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void frmWordloom::connectKeys()
{
    auto *enter = new EnterPressesButton(this);
    for (QPushButton *button : centralWidget()->findChildren<QPushButton *>())
        button->installEventFilter(enter);
    // A running command processes events at each status post, so the key
    // arrives there; Cancel is enabled only while a command runs.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (cmdCancel->isEnabled())
            cmdCancel->click();
    });
}

} // namespace wordloom
