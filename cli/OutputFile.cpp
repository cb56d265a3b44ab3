#include "OutputFile.h"

#include "CliErrors.h"
#include "TempFiles.h"
#include "Utf8.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace wordloom::cli {

namespace {

std::string directoryOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path names once its symbolic links are followed, as open(2)
// follows them; a link's relative target is read from the link's folder. A
// dangling link gives the path it points to, which is then created. `name`
// is for the message when the links go round.
std::string finalTarget(std::string path, const std::string &name)
{
    for (int hops = 0;; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        char link[PATH_MAX];
        const ssize_t length = hops < 40 ? readlink(path.c_str(), link, sizeof link) : -1;
        if (length < 0 || std::size_t(length) == sizeof link)
            throw ioError("write", name, hops < 40 && length < 0 ? errno : ELOOP);
        const std::string to(link, std::size_t(length));
        path = !to.empty() && to.front() == '/' ? to : directoryOf(path) + "/" + to;
    }
}

// The mode a file created by open(2) would get, or the replaced file's mode.
mode_t modeFor(const struct stat *existing)
{
    if (existing)
        return existing->st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

OutputFile::OutputFile(const std::optional<std::string> &path)
{
    if (!path || *path == "-") {
        name_ = "standard output";
        stream_ = stdout;
        return;
    }
    name_ = *path;
    try {
        open();
    } catch (...) {
        release();
        throw;
    }
}

void OutputFile::open()
{
    target_ = finalTarget(name_, name_);
    struct stat info {};
    const bool exists = stat(target_.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        // A device or pipe cannot be replaced; it is written directly.
        stream_ = std::fopen(target_.c_str(), "we");
        if (!stream_)
            fail(errno);
        target_.clear();
        return;
    }
    if (exists && info.st_nlink > 1) {
        openThrough();
        return;
    }
    openTemporary();
    // The owner first, since a change of owner clears the set-id bits. Only a
    // privileged process may give a file away; others keep what they may.
    if (exists && fchown(fileno(stream_), info.st_uid, info.st_gid) != 0 && errno != EPERM)
        fail(errno);
    if (fchmod(fileno(stream_), modeFor(exists ? &info : nullptr)) != 0)
        fail(errno);
}

void OutputFile::openTemporary()
{
    std::string pattern = directoryOf(target_) + "/.wordloom-cli-XXXXXX";
    const int fd = createTrackedFile(pattern);
    if (fd < 0)
        fail(errno);
    temporary_ = pattern;
    stream_ = fdopen(fd, "w");
    if (!stream_) {
        const int error = errno;
        ::close(fd);
        fail(error);
    }
}

// The file is opened now, so that a file that cannot be written is found
// before the work, and the result waits in a nameless file beside it.
void OutputFile::openThrough()
{
    through_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (through_ < 0)
        fail(errno);
    const int fd = openNamelessFile(directoryOf(target_));
    if (fd < 0)
        fail(errno);
    stream_ = fdopen(fd, "w");
    if (!stream_) {
        const int error = errno;
        ::close(fd);
        fail(error);
    }
    target_.clear();
}

// Copies the finished result in `from` over the file's content; 0, or the
// error. The room is claimed first where the file system can, so that a full
// disk is found before the old content is touched.
int OutputFile::copyThrough(int from)
{
    struct stat info {};
    if (fstat(from, &info) != 0)
        return errno;
    const off_t size = info.st_size;
    if (size > 0 && fallocate(through_, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP
        && errno != ENOSYS && errno != EINVAL)
        return errno;
    std::vector<char> buffer(std::size_t(1) << 20);
    for (off_t done = 0; done < size;) {
        const ssize_t got = pread(from, buffer.data(), buffer.size(), done);
        if (got == 0)
            return EIO; // the result shrank under us
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        for (ssize_t put = 0; put < got;) {
            const ssize_t wrote = pwrite(through_, buffer.data() + put, std::size_t(got - put), done + put);
            if (wrote < 0 && errno != EINTR)
                return errno;
            put += std::max<ssize_t>(wrote, 0);
        }
        done += got;
    }
    return ftruncate(through_, size) == 0 ? 0 : errno;
}

OutputFile::~OutputFile()
{
    release();
}

void OutputFile::release()
{
    if (stream_ && stream_ != stdout)
        std::fclose(stream_);
    stream_ = nullptr;
    if (through_ >= 0)
        ::close(through_);
    through_ = -1;
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        untrackTempFile(temporary_);
        temporary_.clear();
    }
}

void OutputFile::fail(int error)
{
    throw ioError("write", name_, error);
}

void OutputFile::write(QStringView text, bool crLfToLf)
{
    if (!writeUtf8(stream_, text, crLfToLf))
        fail(errno);
}

void OutputFile::write(QByteArrayView bytes)
{
    if (std::fwrite(bytes.data(), 1, size_t(bytes.size()), stream_) != size_t(bytes.size()))
        fail(errno);
}

void OutputFile::commit()
{
    std::FILE *stream = stream_;
    stream_ = nullptr;
    int error = std::fflush(stream) != 0 || std::ferror(stream) ? errno : 0;
    if (error == 0 && through_ >= 0)
        error = copyThrough(fileno(stream));
    if (error != 0) {
        if (stream != stdout)
            std::fclose(stream);
        fail(error);
    }
    if (std::fclose(stream) != 0)
        fail(errno);
    if (through_ >= 0) {
        const int through = through_;
        through_ = -1;
        if (::close(through) != 0)
            fail(errno);
        return;
    }
    if (temporary_.empty())
        return;
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        fail(errno);
    untrackTempFile(temporary_);
    temporary_.clear();
}

} // namespace wordloom::cli
