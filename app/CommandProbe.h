#pragma once

#include <QString>

namespace wordloom {

// What a test may watch, or make fail, at every status post and cancel test
// of a command the window runs. The window itself has none.
class CommandProbe {
public:
    virtual ~CommandProbe() = default;
    virtual void atStatus(const QString &text) = 0;
    virtual void atCancelTest() = 0;
};

} // namespace wordloom
