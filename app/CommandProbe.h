#pragma once

#include <QString>

namespace wordloom {

// What a test may watch, or make fail, at every status post and cancel test
// of a command the window runs, and what it may hold up or watch in the read
// of dropped files. The window itself has none.
class CommandProbe {
public:
    virtual ~CommandProbe() = default;
    virtual void atStatus(const QString &text) = 0;
    virtual void atCancelTest() = 0;
    // On the reading thread: before each dropped file is read (a test may
    // block here, as a slow disk would), and once at the end, with whether
    // the text is handed to the window; nothing after that.
    virtual void atFileRead(const QString &) {}
    virtual void atFileReadEnd(bool) {}
};

} // namespace wordloom
