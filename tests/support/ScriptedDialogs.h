#pragma once

#include "Dialogs.h"

#include <QCursor>
#include <QMenu>
#include <QStringList>
#include <deque>
#include <functional>

namespace wordloom::testing {

// Answers the window's dialogs from a script and records what they showed.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        QString kind; // "input", "message" or "failure"
        QString text;
        QString title;
        QString defaultAnswer;
    };

    QString inputBox(const QString &prompt, const QString &title, const QString &defaultAnswer) override
    {
        shown.push_back({QStringLiteral("input"), prompt, title, defaultAnswer});
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void messageBox(const QString &text, const QString &title) override
    {
        shown.push_back({QStringLiteral("message"), text, title, {}});
    }
    void failureBox(const QString &text, const QString &title) override
    {
        shown.push_back({QStringLiteral("failure"), text, title, {}});
    }

    // Without a stand-in the real menu opens at the pointer.
    void popupMenu(QMenu &menu) override
    {
        if (onPopup)
            onPopup(menu);
        else
            menu.exec(QCursor::pos());
    }

    std::deque<QString> answers;
    std::function<void(QMenu &)> onPopup;
    std::vector<Shown> shown;
};

} // namespace wordloom::testing
