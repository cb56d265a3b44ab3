#include "SaveDepthGuard.h"

namespace wordloom::ops {

SaveDepthGuard::SaveDepthGuard(CommandHost &host) : host_(host)
{
    if (host_.saveDepth() == 0)
        host_.setSaveText(host_.inputText());
    ++host_.saveDepth();
}

SaveDepthGuard::~SaveDepthGuard()
{
    try {
        if (!released_)
            release(false);
        else if (restorePending_)
            restore();
    } catch (...) {
        // Unwinding from a failure already; the failure report follows.
    }
}

void SaveDepthGuard::release(bool announce)
{
    released_ = true;
    --host_.saveDepth();
    if (host_.saveDepth() != 0)
        return;
    restorePending_ = true;
    if (announce)
        host_.showStatus(QStringLiteral("Reshuffling..."));
    restore();
    if (announce)
        host_.processEvents();
}

void SaveDepthGuard::restore()
{
    host_.setInputText(host_.saveText());
    restorePending_ = false;
}

} // namespace wordloom::ops
