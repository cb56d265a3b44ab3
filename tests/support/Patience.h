#pragma once

// How long a test waits for a child process or an event: as long as a test may
// take at all, so that a busy machine makes a test slower, never red. Only a
// hang runs out of it, and that is reported as one.

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

namespace wordloom::testing {

inline constexpr int kPatienceMinutes = 20;
inline constexpr int kPatienceMs = kPatienceMinutes * 60 * 1000;

// Waits for the child to end; false, with the child killed, when it did not
// start or did not end within the patience.
inline bool waitForExit(QProcess &child)
{
    if (child.waitForFinished(kPatienceMs))
        return true;
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished(-1);
    }
    return false;
}

// Polls until done() holds, every 10 ms; false when the patience ran out
// first. For what no event announces: files appearing, another process.
template <class Done>
bool pollUntil(Done done)
{
    const QDeadlineTimer deadline(kPatienceMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

} // namespace wordloom::testing
