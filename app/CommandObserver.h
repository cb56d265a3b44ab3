#pragma once

#include <QString>

namespace wordloom {

// The window's command state at one status post, as a copy: the nesting
// counters and the hidden scratch panes.
struct CommandState {
    qint16 nestDepth = 0;
    qint16 saveDepth = 0;
    QString workText;
    QString saveText;
};

// Watches, or makes fail, the commands the window runs at every status post
// and cancel test, and watches or holds up the read of dropped files. Given
// to the window from outside (WindowServices); the product gives none.
class CommandObserver {
public:
    virtual ~CommandObserver() = default;
    virtual void atStatus(const QString &text, const CommandState &state) = 0;
    virtual void atCancelTest() = 0;
    // On the reading thread: before each dropped file is read (a slow disk
    // may be simulated by blocking here), and once at the end, with whether
    // the text is handed to the window; nothing after that.
    virtual void atFileRead(const QString &) {}
    virtual void atFileReadEnd(bool) {}
};

} // namespace wordloom
