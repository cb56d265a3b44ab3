#pragma once

#include "FrequencyTable.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <span>

namespace wordloom {

// What a command needs from whoever runs it. The window answers with its
// panes, counters, status bar and Cancel button; the CLI and the tests answer
// from memory (BatchHost). Each call happens exactly where the command's
// steps say.
class CommandHost {
public:
    virtual ~CommandHost() = default;

    // The input pane's whole text, read at the step that reads it.
    virtual QString inputText() = 0;
    // The same text for a step that reads it once, front to back (Word
    // Count's counting): handed to `take` a piece at a time, each piece
    // ending between words. A host that holds the text whole hands it over
    // as one piece; one that reads it from files may hold a piece at a time.
    virtual void readInputPieces(const std::function<void(QStringView)> &take) { take(inputText()); }
    // The input pane shows this text: the de-duplication commands pass their
    // intermediate lists through it.
    virtual void setInputText(const QString &text) = 0;
    // The result pane.
    virtual QString resultText() = 0;
    virtual void setResultText(const QString &text) = 0;
    // The hidden scratch pane that carries text between phases.
    virtual void setWorkText(const QString &text) = 0;
    // The hidden pane that keeps the user's text while a de-duplication
    // command runs.
    virtual QString saveText() = 0;
    virtual void setSaveText(const QString &text) = 0;
    // NestDepth: commands running as a step of another. SaveDepth:
    // de-duplication commands running.
    virtual qint16 &nestDepth() = 0;
    virtual qint16 &saveDepth() = 0;

    // BeginOperation: the busy state, "Starting...", then Cancel enabled
    // again, which drops a request made before. EndOperation leaves it.
    virtual void beginOperation() = 0;
    virtual void endOperation() = 0;
    // ShowStatus: shows the text and lets pending events run.
    virtual void showStatus(const QString &text) = 0;
    // The cancel test: true once Cancel has been pressed (its button disabled).
    virtual bool cancelRequested() = 0;
    // An explicit "process pending events" step of a command.
    virtual void processEvents() = 0;
    // Between long stretches of work that have no status post of their own:
    // the window repaints and answers the window manager there, while the
    // user's input waits, so nothing a command could notice happens. A host
    // without a window has nothing to do.
    virtual void stayResponsive() {}
    // Word Count and Phrase Count hand a host that writes tables itself (the
    // CLI, straight to its output) their rows in place of the padded text,
    // after the same statuses and cancel tests. width: the text column's.
    virtual bool acceptsResultTable() { return false; }
    virtual void setResultTable(const FrequencyTable &, qsizetype /*width*/, QStringView /*separator*/) {}
    // Likewise Sort Lines, when it runs alone, hands such a host its lines
    // and their order in place of the joined text.
    virtual bool acceptsResultLines() { return false; }
    virtual void setResultLines(std::span<const QStringView> /*lines*/, std::span<const std::uint32_t> /*order*/) {}
};

// How a cancellable command or step ended: every one says it so. A step
// that yields a value also fills in an argument of the caller's, which is
// not to be used when it ends Cancelled.
enum class Outcome { Ready, Cancelled };

// The exit of every cancel test that finds the request.
inline Outcome cancelled(CommandHost &host)
{
    host.showStatus(QStringLiteral("Cancelled"));
    return Outcome::Cancelled;
}

} // namespace wordloom
