#include "InputFiles.h"

#include "CliErrors.h"
#include "Utf8.h"
#include "lib/LargePages.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom::cli {

namespace {

constexpr qsizetype kReadChunk = qsizetype(1) << 16;

std::string shownName(const std::string &name)
{
    return name == "-" ? "standard input" : name;
}

// Room for `more` bytes after the current end; a first large buffer gets the
// large-page hint, later growth doubles.
void makeRoom(QByteArray &data, qsizetype more)
{
    if (data.capacity() - data.size() >= more)
        return;
    const bool fresh = data.capacity() == 0;
    data.reserve(std::max(data.size() + more, 2 * data.capacity()));
    if (fresh)
        wordloom::adviseLargePages(data.data(), size_t(data.capacity()));
}

// Appends everything left on fd; a regular file's size is reserved at once.
void appendAll(int fd, const std::string &name, QByteArray &data, ReadFunction read)
{
    struct stat info {};
    if (fstat(fd, &info) != 0)
        throw ioError("read", name, errno);
    if (S_ISDIR(info.st_mode))
        throw ioError("read", name, EISDIR);
    // A file's size (plus the one byte that finds its end) is known at once;
    // a pipe's buffer grows by doubling.
    const bool regular = S_ISREG(info.st_mode);
    if (regular)
        makeRoom(data, qsizetype(info.st_size) + 1);
    for (;;) {
        makeRoom(data, regular ? 1 : kReadChunk);
        const qsizetype start = data.size();
        const qsizetype room = data.capacity() - start;
        data.resize(data.capacity());
        const ssize_t got = read(fd, data.data() + start, size_t(room));
        data.resize(start + std::max<qsizetype>(got, 0));
        if (got == 0)
            return;
        if (got < 0 && errno != EINTR)
            throw ioError("read", name, errno);
    }
}

void appendFile(const std::string &name, QByteArray &data, ReadFunction read)
{
    if (name == "-") {
        appendAll(STDIN_FILENO, shownName(name), data, read);
        return;
    }
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ioError("open", name, errno);
    try {
        appendAll(fd, name, data, read);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
}

void checkUtf8(const QByteArray &data, qsizetype from, const std::string &name)
{
    const QByteArray part = QByteArray::fromRawData(data.constData() + from, data.size() - from);
    if (const auto bad = firstInvalidUtf8(part))
        throw IoError(shownName(name) + ": not valid UTF-8 at byte offset "
                      + std::to_string(*bad));
}

} // namespace

QByteArray readInputFiles(const std::vector<std::string> &names, ReadFunction read)
{
    const std::vector<std::string> all = names.empty() ? std::vector<std::string>{"-"} : names;
    QByteArray data;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const qsizetype start = data.size();
        appendFile(all[i], data, read);
        checkUtf8(data, start, all[i]);
        if (i + 1 < all.size() && data.size() > start && !data.endsWith('\n'))
            data.append('\n');
    }
    return data;
}

QString readInputText(const std::vector<std::string> &names, bool raw)
{
    const QByteArray bytes = readInputFiles(names);
    return decodeUtf8(bytes, !raw);
}

} // namespace wordloom::cli
