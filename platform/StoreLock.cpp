#include "StoreLock.h"

#include <QElapsedTimer>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace wordloom {

namespace {
// Opens the lock file, creating it, unless the name is taken by something
// that is not a regular file (which is left alone).
int openLockFile(const QString &lockPath)
{
    const QByteArray path = QFile::encodeName(lockPath);
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return -1;
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

StoreLock::StoreLock(const QString &lockPath, std::chrono::milliseconds patience) : fd_(openLockFile(lockPath))
{
    if (fd_ < 0)
        return;
    QElapsedTimer waited;
    waited.start();
    while (!(held_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0)) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited.elapsed() >= patience.count())
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

StoreLock::~StoreLock()
{
    if (fd_ >= 0)
        ::close(fd_); // closing drops the lock
}

} // namespace wordloom
