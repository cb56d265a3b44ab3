#include "InputText.h"

#include "CliErrors.h"
#include "InputFiles.h"
#include "LargePages.h"
#include "Utf8.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

namespace wordloom::mpi {

using cli::ioError;

namespace {

constexpr qsizetype kSearchBlock = qsizetype(1) << 16;
// How much of a file's start tells UTF-16 from UTF-8, as wordloom-cli looks.
constexpr qsizetype kHeadBytes = 4096;
constexpr long long kBroadcastBytes = 1LL << 30;

std::string shownName(const std::string &name)
{
    return name == "-" ? "standard input" : name;
}

void broadcast(QByteArray &bytes, long long size)
{
    bytes.resize(qsizetype(size));
    for (long long at = 0; at < size; at += kBroadcastBytes)
        MPI_Bcast(bytes.data() + at, int(std::min(kBroadcastBytes, size - at)), MPI_BYTE, 0, MPI_COMM_WORLD);
}

// Whether a regular file's size is the number of bytes a read gives: not so
// for an empty size (/proc's files) nor on the kernel's other pseudo file
// systems (/sys's files claim a page), which are read whole like a stream.
bool sizeHolds(int fd, const struct stat &info)
{
    struct statfs where {};
    if (info.st_size == 0 || fstatfs(fd, &where) != 0)
        return false;
    switch (where.f_type) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC: return false;
    default: return true;
    }
}

bool cutAfter(const char *p, qsizetype end, Boundary rule)
{
    switch (rule) {
    case Boundary::AfterLf: return p[end - 1] == '\n';
    case Boundary::AfterCrLf: return end >= 2 && p[end - 2] == '\r' && p[end - 1] == '\n';
    case Boundary::WordGap: return cli::endsWordGap(p, end);
    }
    return false;
}

// srun hands standard input to every task from one stream, which stops
// while any task's pipe is full: the processes that do not read it empty
// theirs, or process 0 never gets to its end. Under mpirun theirs is
// /dev/null. The thread is left to end with its stream or with the process.
void discardStandardInput()
{
    std::thread([] {
        char sink[1 << 16];
        for (;;) {
            const ssize_t got = ::read(STDIN_FILENO, sink, sizeof sink);
            if (got == 0 || (got < 0 && errno != EINTR))
                return;
        }
    }).detach();
}

} // namespace

InputText::InputText(Job &job, std::vector<std::string> names) : job_(job)
{
    if (names.empty())
        names.push_back("-");
    for (std::string &name : names) {
        sources_.emplace_back();
        sources_.back().name = std::move(name);
    }
    if (job_.first())
        lookAtSources();
    else if (std::ranges::any_of(sources_, [](const Source &source) { return source.name == "-"; }))
        discardStandardInput();
    // Asleep while process 0 reads: standard input may take long to come.
    job_.waitForAll();
    shareSources();
}

InputText::~InputText()
{
    for (Source &source : sources_)
        if (source.fd >= 0)
            ::close(source.fd);
}

void InputText::lookAtSources()
{
    long long position = 0;
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        Source &source = sources_[i];
        source.start = position;
        bool endsInLf = false;
        // A pipe or a device is opened once, by the read below: a named pipe
        // opened twice would wait for a second writer.
        struct stat info {};
        const bool stream = source.name == "-"
            || (stat(source.name.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode));
        const int fd = stream ? -1 : ::open(source.name.c_str(), O_RDONLY | O_CLOEXEC);
        if (!stream && fd < 0) {
            job_.fail(position, 1, ioError("open", source.name, errno).what());
        } else if (fd >= 0 && fstat(fd, &info) != 0) {
            job_.fail(position, 1, ioError("read", source.name, errno).what());
        } else if (fd >= 0 && S_ISDIR(info.st_mode)) {
            job_.fail(position, 1, ioError("read", source.name, EISDIR).what());
        } else if (fd >= 0 && S_ISREG(info.st_mode) && sizeHolds(fd, info)) {
            QByteArray head(qsizetype(std::min<long long>(info.st_size, kHeadBytes)), '\0');
            char last = 0;
            if (pread(fd, head.data(), size_t(head.size()), 0) != head.size()
                || (info.st_size > 0 && pread(fd, &last, 1, off_t(info.st_size - 1)) != 1)) {
                job_.fail(position, 1, ioError("read", source.name, errno).what());
            } else if (const char *form = cli::utf16Form(head)) {
                job_.fail(position, 1, source.name + ": the text is UTF-16, not UTF-8; convert it with 'iconv -f "
                                           + form + " -t UTF-8'");
            } else if (head.startsWith(cli::kUtf8Mark)) {
                source.skip = qsizetype(sizeof cli::kUtf8Mark) - 1;
            }
            source.size = info.st_size - source.skip;
            endsInLf = last == '\n';
        } else {
            // Standard input, a pipe, a device or a file whose size tells
            // nothing: read once, here.
            source.stream = true;
            try {
                source.bytes = cli::readInputFiles({source.name});
            } catch (const cli::IoError &e) {
                job_.fail(position, 1, e.what());
            }
            source.size = source.bytes.size();
            endsInLf = source.bytes.endsWith('\n');
        }
        if (fd >= 0)
            ::close(fd);
        source.lfAfter = i + 1 < sources_.size() && source.size > 0 && !endsInLf;
        position += source.size + (source.lfAfter ? 1 : 0);
    }
}

void InputText::shareSources()
{
    std::vector<long long> layout;
    for (const Source &source : sources_)
        layout.insert(layout.end(), {source.start, source.size, source.skip, source.lfAfter, source.stream});
    layout.resize(5 * sources_.size());
    MPI_Bcast(layout.data(), int(layout.size()), MPI_LONG_LONG, 0, MPI_COMM_WORLD);
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        Source &source = sources_[i];
        source.start = layout[5 * i];
        source.size = layout[5 * i + 1];
        source.skip = layout[5 * i + 2];
        source.lfAfter = layout[5 * i + 3] != 0;
        source.stream = layout[5 * i + 4] != 0;
        if (source.stream)
            broadcast(source.bytes, source.size);
        size_ = source.start + source.size + (source.lfAfter ? 1 : 0);
    }
}

void InputText::copyOut(long long begin, long long end, char *out, bool check)
{
    for (Source &source : sources_) {
        const long long from = std::max(begin, source.start);
        const long long to = std::min(end, source.start + source.size);
        if (source.lfAfter && source.start + source.size >= begin && source.start + source.size < end)
            out[source.start + source.size - begin] = '\n';
        if (from >= to)
            continue;
        char *const part = out + (from - begin);
        const long long offset = from - source.start + source.skip; // in the file
        if (source.stream) {
            std::copy_n(source.bytes.constData() + (from - source.start), to - from, part);
            continue;
        }
        if (source.fd < 0)
            source.fd = ::open(source.name.c_str(), O_RDONLY | O_CLOEXEC);
        if (source.fd < 0) {
            job_.fail(source.start, 1, ioError("open", source.name, errno).what());
            std::fill_n(part, to - from, '\0'); // the buffer comes uninitialized
            continue;
        }
        for (long long done = 0; done < to - from;) {
            const ssize_t got = pread(source.fd, part + done, size_t(to - from - done), off_t(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                job_.fail(from + done, 1, got < 0 ? ioError("read", source.name, errno).what()
                                                 : source.name + ": changed while being read");
                std::fill_n(part + done, to - from - done, '\0');
                break;
            }
            done += got;
        }
    }
    if (check)
        checkUtf8(begin, end, out);
}

void InputText::checkUtf8(long long begin, long long end, const char *bytes)
{
    for (const Source &source : sources_) {
        const long long from = std::max(begin, source.start);
        const long long to = std::min(end, source.start + source.size);
        if (from >= to || source.stream)
            continue; // a stream was checked as it was read
        const char *const part = bytes + (from - begin);
        if (const auto bad = cli::firstInvalidUtf8(QByteArrayView(part, qsizetype(to - from))))
            job_.fail(from + *bad, 1, shownName(source.name) + ": not valid UTF-8 at byte offset "
                                          + std::to_string(from - source.start + source.skip + *bad));
    }
}

QByteArray InputText::read(long long begin, long long end)
{
    QByteArray bytes(qsizetype(end - begin), Qt::Uninitialized);
    copyOut(begin, end, bytes.data(), true);
    return bytes;
}

QByteArray InputText::readPiece(long long &at, long long end, qsizetype bytes, Boundary rule)
{
    long long to = std::min(end, at + std::max<qsizetype>(bytes, 1));
    // Checked once cut: the bytes read may end inside a character.
    QByteArray piece(qsizetype(to - at), Qt::Uninitialized);
    adviseLargePages(piece.data(), std::size_t(piece.size())); // as wordloom-cli reads
    copyOut(at, to, piece.data(), false);
    if (to < end) {
        qsizetype cut = piece.size();
        while (cut > 0 && !cutAfter(piece.constData(), cut, rule))
            --cut;
        if (cut > 0) {
            piece.truncate(cut);
            to = at + cut;
        } else {
            to = std::min(end, nextCut(to, rule));
            piece.resize(qsizetype(to - at));
            copyOut(at, to, piece.data(), false);
        }
    }
    checkUtf8(at, to, piece.constData());
    at = to;
    return piece;
}

long long InputText::nextCut(long long from, Boundary rule)
{
    if (from <= 0 || from >= size_)
        return std::clamp(from, 0LL, size_);
    // The three bytes before a place decide whether a range may end there.
    long long windowStart = std::max(from - 3, 0LL), place = from;
    QByteArray window;
    for (;;) {
        const long long windowEnd = std::min(size_, std::max(windowStart + kSearchBlock, place));
        window.resize(qsizetype(windowEnd - windowStart));
        copyOut(windowStart, windowEnd, window.data(), false);
        for (; place <= windowEnd; ++place) {
            if (cutAfter(window.constData(), qsizetype(place - windowStart), rule))
                return place;
        }
        if (windowEnd == size_)
            return size_;
        windowStart = windowEnd - 3;
    }
}

long long InputText::lastCut(long long from, long long to, Boundary rule)
{
    QByteArray window;
    for (long long blockEnd = to; blockEnd > from;) {
        const long long blockStart = std::max(from, blockEnd - kSearchBlock);
        // As in nextCut(): the three bytes before a place decide.
        const long long windowStart = std::max(blockStart - 3, 0LL);
        window.resize(qsizetype(blockEnd - windowStart));
        copyOut(windowStart, blockEnd, window.data(), false);
        for (long long place = blockEnd; place > blockStart; --place) {
            if (cutAfter(window.constData(), qsizetype(place - windowStart), rule))
                return place;
        }
        blockEnd = blockStart;
    }
    return from;
}

void InputText::settleEarlyFailure(const std::function<void()> &beforeEnding)
{
    const long long failedAt = job_.earliestFailure();
    if (failedAt == Failure::kNowhere)
        return;
    // A failure found there is at a file's start, after a line break.
    const std::vector<long long> all = cuts(Boundary::AfterLf);
    long long at = std::min(all[std::size_t(job_.rank())], failedAt);
    const long long end = std::min(all[std::size_t(job_.rank()) + 1], failedAt);
    while (at < end && !job_.failingBefore(at))
        readPiece(at, end, kSearchBlock * 16, Boundary::AfterLf);
    if (beforeEnding)
        beforeEnding();
    job_.agree();
}

std::vector<long long> InputText::cuts(Boundary rule)
{
    const int n = job_.size();
    const long long nominal = size_ / n * job_.rank() + size_ % n * job_.rank() / n;
    std::vector<long long> cuts = job_.allGather(job_.first() ? 0 : nextCut(nominal, rule));
    for (std::size_t k = 1; k < cuts.size(); ++k)
        cuts[k] = std::max(cuts[k], cuts[k - 1]);
    cuts.push_back(size_);
    return cuts;
}

} // namespace wordloom::mpi
