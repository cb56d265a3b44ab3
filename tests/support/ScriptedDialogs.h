#pragma once

#include "platform/Dialogs.h"

#include <QStringList>
#include <deque>

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

    std::deque<QString> answers;
    std::vector<Shown> shown;
};

} // namespace wordloom::testing
