#pragma once

#include <QString>
#include <chrono>

namespace wordloom {

// An exclusive lock beside a settings file, so that two windows closing
// together write one after the other. It is a flock(2) on its own file, which
// the kernel drops when its holder dies: a crash can leave the file, never the
// lock. A holder that does not let go is waited for only `patience`; after
// that the caller goes on unlocked, as its replace is atomic anyway.
class StoreLock {
public:
    StoreLock(const QString &lockPath, std::chrono::milliseconds patience);
    ~StoreLock();
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

    bool held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

} // namespace wordloom
