#pragma once

#include "CommandHost.h"

namespace wordloom::ops {

// The de-duplication commands' hold on the user's text: the outermost one
// saves the input pane and puts it back on every way out, a failure included.
class SaveDepthGuard {
public:
    explicit SaveDepthGuard(CommandHost &host);
    ~SaveDepthGuard();
    SaveDepthGuard(const SaveDepthGuard &) = delete;
    SaveDepthGuard &operator=(const SaveDepthGuard &) = delete;

    // Lowers the save depth; at 0 the saved text goes back into the input pane,
    // announced with "Reshuffling..." when `announce` is set.
    void release(bool announce);

private:
    void restore();

    CommandHost &host_;
    bool released_ = false;
    bool restorePending_ = false;
};

} // namespace wordloom::ops
