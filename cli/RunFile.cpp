#include "RunFile.h"

#include "CliErrors.h"
#include "TempFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <unistd.h>

namespace wordloom::cli {

namespace {
constexpr std::size_t kWriteBuffer = std::size_t(1) << 20;
// Reads this large already stream from disk at full speed, even with many
// runs taking turns; a larger buffer only touches fresh memory, which costs
// more than the reads it saves.
constexpr std::size_t kMostReadBuffer = std::size_t(16) << 20;
using Length = std::uint32_t; // each line is stored as its length in units, then its units
} // namespace

RunFile::RunFile(const std::string &directory) : directory_(directory)
{
    fd_ = openNamelessFile(directory);
    if (fd_ < 0)
        fail("create", errno);
    buffer_.reserve(kWriteBuffer);
}

RunFile::~RunFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void RunFile::fail(const char *action, int error) const
{
    throw IoError(std::string("cannot ") + action + " a temporary file in '" + directory_
                  + "': " + std::strerror(error));
}

void RunFile::append(QStringView line)
{
    const Length units = Length(line.size());
    const std::size_t bytes = sizeof units + units * sizeof(char16_t);
    if (buffer_.size() + bytes > kWriteBuffer)
        flushWrites();
    const char *header = reinterpret_cast<const char *>(&units);
    buffer_.insert(buffer_.end(), header, header + sizeof units);
    const char *data = reinterpret_cast<const char *>(line.utf16());
    buffer_.insert(buffer_.end(), data, data + units * sizeof(char16_t));
}

void RunFile::flushWrites()
{
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t wrote = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (wrote < 0 && errno != EINTR)
            fail("write", errno);
        done += std::size_t(std::max<ssize_t>(wrote, 0));
    }
    written_ += buffer_.size();
    buffer_.clear();
}

void RunFile::finishWriting()
{
    flushWrites();
    std::vector<char>().swap(buffer_);
}

void RunFile::startReading(std::size_t readBufferBytes)
{
    flushWrites();
    if (::lseek(fd_, 0, SEEK_SET) != 0)
        fail("read", errno);
    // No more than the run holds: a short run next to long ones needs little.
    buffer_.resize(std::max(std::min({readBufferBytes, kMostReadBuffer, written_}), std::size_t(1) << 16));
    buffer_.shrink_to_fit();
    begin_ = end_ = 0;
}

// At least `wanted` unread bytes in the buffer, unless the file ends first.
bool RunFile::fillReads(std::size_t wanted)
{
    if (end_ - begin_ >= wanted)
        return true;
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    if (buffer_.size() < wanted)
        buffer_.resize(wanted); // a line longer than the buffer
    while (end_ < wanted) {
        const ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
        if (got == 0)
            return false;
        if (got < 0 && errno != EINTR)
            fail("read", errno);
        end_ += std::size_t(std::max<ssize_t>(got, 0));
    }
    return true;
}

bool RunFile::readLine(QStringView &line)
{
    Length units = 0;
    if (!fillReads(sizeof units))
        return false;
    std::memcpy(&units, buffer_.data() + begin_, sizeof units);
    if (!fillReads(sizeof units + units * sizeof(char16_t)))
        fail("read", EIO); // the file ended inside a line it wrote
    const char *data = buffer_.data() + begin_ + sizeof units;
    line = QStringView(reinterpret_cast<const char16_t *>(data), qsizetype(units));
    begin_ += sizeof units + units * sizeof(char16_t);
    return true;
}

} // namespace wordloom::cli
