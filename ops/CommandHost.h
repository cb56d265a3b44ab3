#pragma once

#include <QString>

namespace wordloom {

// What a command needs from whoever runs it. The window answers with its
// panes, status bar and Cancel button; the CLI and the tests answer with
// plain strings. Each call happens exactly where the command's steps say.
class CommandHost {
public:
    virtual ~CommandHost() = default;

    // The input pane's whole text, read at the step that reads it.
    virtual QString inputText() = 0;
    // ShowStatus: shows the text and lets pending events run.
    virtual void showStatus(const QString &text) = 0;
    // The cancel test: true once Cancel has been pressed (its button disabled).
    virtual bool cancelRequested() = 0;
    // An explicit "process pending events" step of a command.
    virtual void processEvents() = 0;
    // The hidden scratch pane that carries text between phases.
    virtual void setWorkText(const QString &text) = 0;
    // The result pane.
    virtual void setResultText(const QString &text) = 0;
};

// How a cancellable command ended.
enum class Outcome { Ready, Cancelled };

// The exit of every cancel test that finds the request.
inline Outcome cancelled(CommandHost &host)
{
    host.showStatus(QStringLiteral("Cancelled"));
    return Outcome::Cancelled;
}

} // namespace wordloom
