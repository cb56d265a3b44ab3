#include "TempFiles.h"

#include <array>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace wordloom::cli {

namespace {

// SIGPIPE too: a reader that goes away early (`| head`) must not strand the
// output's temporary file.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Plain arrays: the handler may only read memory and call unlink.
struct Slot {
    char path[PATH_MAX];
    volatile sig_atomic_t used;
};
std::array<Slot, 8> slots;

void removeTracked(int signal)
{
    for (Slot &slot : slots)
        if (slot.used)
            ::unlink(slot.path);
    std::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Edits of the table happen with the signals held back, so the handler never
// sees half a path.
class SignalsHeld {
public:
    SignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        for (int signal : kSignals)
            sigaddset(&held, signal);
        sigprocmask(SIG_BLOCK, &held, &previous_);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

private:
    sigset_t previous_;
};

} // namespace

void installTempFileCleanup()
{
    for (int signal : kSignals) {
        struct sigaction action {};
        sigaction(signal, nullptr, &action);
        if (action.sa_handler == SIG_IGN)
            continue; // nohup and the like keep their choice
        action.sa_handler = removeTracked;
        sigemptyset(&action.sa_mask);
        for (int other : kSignals)
            sigaddset(&action.sa_mask, other);
        action.sa_flags = 0;
        sigaction(signal, &action, nullptr);
    }
}

bool trackTempFile(const std::string &path)
{
    if (path.size() >= PATH_MAX)
        return false;
    SignalsHeld held;
    for (Slot &slot : slots) {
        if (!slot.used) {
            std::memcpy(slot.path, path.c_str(), path.size() + 1);
            slot.used = 1;
            return true;
        }
    }
    return false;
}

void untrackTempFile(const std::string &path)
{
    SignalsHeld held;
    for (Slot &slot : slots)
        if (slot.used && path == slot.path)
            slot.used = 0;
}

int createTrackedFile(std::string &pattern)
{
    SignalsHeld held;
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0)
        trackTempFile(pattern);
    return fd;
}

int openNamelessFile(const std::string &directory)
{
#if defined(O_TMPFILE)
    const int fd = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
    // Any refusal (no O_TMPFILE in the kernel or the file system, no such
    // folder, no right to write there) is left to the named way to report.
#endif
    return openUnlinkedFile(directory);
}

int openUnlinkedFile(const std::string &directory)
{
    std::string pattern = directory + "/wordloom-cli-run-XXXXXX";
    SignalsHeld held;
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0)
        ::unlink(pattern.c_str());
    return fd;
}

} // namespace wordloom::cli
