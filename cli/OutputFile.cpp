#include "OutputFile.h"

#include "CliErrors.h"
#include "TempFiles.h"
#include "Utf8.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom::cli {

namespace {

std::string directoryOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A symbolic link is followed, so the file it names is replaced, not the link.
std::string resolvedTarget(const std::string &path)
{
    struct stat info {};
    char resolved[PATH_MAX];
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && realpath(path.c_str(), resolved))
        return resolved;
    return path;
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
    target_ = resolvedTarget(*path);
    struct stat info {};
    const bool exists = stat(target_.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        // A device or pipe cannot be replaced; it is written directly.
        stream_ = std::fopen(target_.c_str(), "we");
        if (!stream_)
            throw ioError("write", name_, errno);
        target_.clear();
        return;
    }
    openTemporary();
    if (fchmod(fileno(stream_), modeFor(exists ? &info : nullptr)) != 0)
        fail(errno);
}

void OutputFile::openTemporary()
{
    std::string pattern = directoryOf(target_) + "/.wordloom-cli-XXXXXX";
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        throw ioError("write", name_, errno);
    temporary_ = pattern;
    trackTempFile(temporary_);
    stream_ = fdopen(fd, "w");
    if (!stream_) {
        const int error = errno;
        ::close(fd);
        fail(error);
    }
}

OutputFile::~OutputFile()
{
    if (stream_ && stream_ != stdout)
        std::fclose(stream_);
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        untrackTempFile(temporary_);
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
    if (std::fflush(stream) != 0 || std::ferror(stream)) {
        const int error = errno;
        if (stream != stdout)
            std::fclose(stream);
        fail(error);
    }
    if (std::fclose(stream) != 0)
        fail(errno);
    if (temporary_.empty())
        return;
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        fail(errno);
    untrackTempFile(temporary_);
    temporary_.clear();
}

} // namespace wordloom::cli
