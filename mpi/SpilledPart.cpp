#include "SpilledPart.h"

#include "CliErrors.h"
#include "TempFiles.h"
#include "Utf8.h"

#include <cerrno>
#include <unistd.h>

namespace wordloom::mpi {

namespace {

constexpr qsizetype kBlockUnits = qsizetype(1) << 20;

void writeAll(int fd, const char *bytes, std::size_t size, const std::string &directory)
{
    for (std::size_t done = 0; done < size;) {
        const ssize_t wrote = ::write(fd, bytes + done, size - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            throw cli::ioError("write a temporary file in", directory, wrote < 0 ? errno : ENOSPC);
        done += std::size_t(wrote);
    }
}

} // namespace

SpilledPart::SpilledPart(std::string directory, bool crLfToLf)
    : directory_(std::move(directory)), crLfToLf_(crLfToLf)
{
    fd_ = cli::openNamelessFile(directory_);
    if (fd_ < 0)
        throw cli::ioError("create a temporary file in", directory_, errno);
}

SpilledPart::~SpilledPart()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void SpilledPart::add(QStringView line)
{
    if (!first_)
        lines_ += u"\r\n";
    first_ = false;
    lines_ += line;
    if (lines_.size() >= kBlockUnits)
        flush();
}

// A block ends after a whole line, so a CR LF is never split between two.
void SpilledPart::flush()
{
    encoded_.resize(std::size_t(3 * lines_.size() + 4));
    const char *end = encodeUtf8(QStringView(lines_).utf16(), 0, lines_.size(), lines_.size(), crLfToLf_, encoded_.data());
    writeAll(fd_, encoded_.data(), std::size_t(end - encoded_.data()), directory_);
    bytes_ += end - encoded_.data();
    lines_.resize(0);
}

void SpilledPart::finish(bool breakAfter)
{
    if (breakAfter)
        lines_ += u"\r\n";
    flush();
    lines_ = QString();
}

void SpilledPart::readBack(const std::function<void(QByteArrayView)> &block)
{
    encoded_.resize(std::size_t(kBlockUnits) * 4);
    for (off_t at = 0; at < bytes_;) {
        const ssize_t got = pread(fd_, encoded_.data(), encoded_.size(), at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw cli::ioError("read a temporary file in", directory_, got < 0 ? errno : EIO);
        block(QByteArrayView(encoded_.data(), got));
        at += got;
    }
}

} // namespace wordloom::mpi
