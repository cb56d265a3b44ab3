#include "InputFiles.h"

#include "CliErrors.h"
#include "Utf8.h"
#include "LargePages.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom::cli {

namespace {

constexpr qsizetype kReadBlock = qsizetype(1) << 16;
// How much of a file's start is read before any of it is handed out, to tell
// UTF-16 from UTF-8.
constexpr qsizetype kHeadBytes = 4096;

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

} // namespace

ChunkedInput::ChunkedInput(std::vector<std::string> names, qsizetype chunkBytes, PieceEnd end,
                           ReadFunction read)
    : names_(names.empty() ? std::vector<std::string>{"-"} : std::move(names)),
      chunkBytes_(std::max<qsizetype>(chunkBytes, 1)), end_(end), read_(read)
{
}

ChunkedInput::~ChunkedInput()
{
    if (fd_ > STDIN_FILENO)
        ::close(fd_);
}

QByteArray ChunkedInput::next()
{
    fill(chunkBytes_);
    // The piece ends in the first chunkBytes_ + 1 bytes if it can (a file's
    // start, read ahead, may hold more); a line longer than that is read
    // whole, a piece's size more at a time.
    qsizetype within = 0, cut = 0;
    for (;;) {
        if (within < pending_.size()) {
            within = std::min(pending_.size(), within + chunkBytes_ + (within == 0));
            cut = allRead_ && within == pending_.size() ? within : lastPieceEnd(within);
            if (cut > 0)
                break;
        } else if (allRead_) {
            cut = pending_.size();
            break;
        } else {
            fill(pending_.size() + chunkBytes_);
        }
    }
    validate(cut);
    QByteArray piece;
    if (cut == pending_.size()) {
        piece.swap(pending_);
    } else if (pending_.size() - cut < cut) {
        // The piece keeps the buffer it was read into and the short rest
        // moves: copying the piece would fill as much fresh memory again.
        // The new buffer is as large, so the reads grow it as they grew
        // the old one (untouched room costs address space only).
        piece.swap(pending_);
        makeRoom(pending_, piece.capacity());
        pending_.append(QByteArrayView(piece).sliced(cut));
        piece.truncate(cut);
    } else {
        piece = pending_.first(cut);
        pending_.remove(0, cut);
    }
    fileStart_ -= cut;
    return piece;
}

qsizetype ChunkedInput::lastPieceEnd(qsizetype within) const
{
    const QByteArrayView bytes = QByteArrayView(pending_).first(within);
    if (end_ == PieceEnd::Lf)
        return bytes.lastIndexOf('\n') + 1;
    if (end_ == PieceEnd::CrLf) {
        const qsizetype pair = bytes.lastIndexOf("\r\n");
        return pair < 0 ? 0 : pair + 2;
    }
    return lastWordGap(bytes);
}

void ChunkedInput::fill(qsizetype wanted)
{
    while ((pending_.size() < wanted || headPending_) && !allRead_) {
        if (fd_ < 0 && !openNextFile()) {
            allRead_ = true;
            return;
        }
        readSome(headPending_ ? std::max(wanted, fileStart_ + kHeadBytes) : wanted);
    }
}

bool ChunkedInput::openNextFile()
{
    if (fileIndex_ >= names_.size())
        return false;
    const std::string &name = names_[fileIndex_];
    fd_ = name == "-" ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw ioError("open", name, errno);
    struct stat info {};
    if (fstat(fd_, &info) != 0)
        throw ioError("read", shownName(name), errno);
    if (S_ISDIR(info.st_mode))
        throw ioError("read", shownName(name), EISDIR);
    // A file's size (plus the one byte that finds its end) is reserved at once.
    regular_ = S_ISREG(info.st_mode);
    if (regular_)
        makeRoom(pending_, std::min<qsizetype>(qsizetype(info.st_size) + 1, chunkBytes_ + 1));
    fileBytes_ = 0;
    fileStart_ = pending_.size();
    checkedOffset_ = 0;
    headPending_ = true;
    return true;
}

void ChunkedInput::readSome(qsizetype wanted)
{
    // Any room left is used (a file's reserved size ends with one spare byte);
    // none left grows the buffer by at least a block.
    const qsizetype start = pending_.size();
    makeRoom(pending_, pending_.capacity() > start ? 1 : kReadBlock);
    const qsizetype room = std::min(pending_.capacity() - start, wanted - start + 1);
    pending_.resize(start + room);
    const ssize_t got = read_(fd_, pending_.data() + start, size_t(room));
    pending_.resize(start + std::max<qsizetype>(got, 0));
    if (got > 0) {
        fileBytes_ += got;
        fileEndsInLf_ = pending_.endsWith('\n');
        if (headPending_ && fileBytes_ >= kHeadBytes)
            inspectHead();
    }
    else if (got == 0)
        finishFile();
    else if (errno != EINTR)
        throw ioError("read", shownName(names_[fileIndex_]), errno);
}

void ChunkedInput::finishFile()
{
    if (headPending_)
        inspectHead();
    validate(pending_.size());
    if (fd_ > STDIN_FILENO)
        ::close(fd_);
    fd_ = -1;
    const bool last = ++fileIndex_ >= names_.size();
    if (!last && fileBytes_ > 0 && !fileEndsInLf_)
        pending_.append('\n');
}

// The current file's start, all in pending_ from fileStart_: a UTF-8 mark
// goes (offsets in messages stay those of the file), UTF-16 is refused.
void ChunkedInput::inspectHead()
{
    headPending_ = false;
    const QByteArrayView head = QByteArrayView(pending_).sliced(fileStart_);
    if (const char *form = utf16Form(head.first(std::min(head.size(), kHeadBytes))))
        throw IoError(shownName(names_[fileIndex_]) + ": the text is UTF-16, not UTF-8; convert it"
                      " with 'iconv -f " + form + " -t UTF-8'");
    if (head.startsWith(kUtf8Mark)) {
        const qsizetype mark = qsizetype(sizeof kUtf8Mark) - 1;
        pending_.remove(fileStart_, mark);
        fileBytes_ -= mark;
        checkedOffset_ = mark;
    }
}

// Checks the current file's bytes in pending_ up to `upTo` (a line end or the
// file's end, so no sequence is cut).
void ChunkedInput::validate(qsizetype upTo)
{
    if (upTo <= fileStart_ || fd_ < 0)
        return;
    const QByteArray part =
        QByteArray::fromRawData(pending_.constData() + fileStart_, upTo - fileStart_);
    if (const auto bad = firstInvalidUtf8(part))
        throw IoError(shownName(names_[fileIndex_]) + ": not valid UTF-8 at byte offset "
                      + std::to_string(checkedOffset_ + *bad));
    checkedOffset_ += upTo - fileStart_;
    fileStart_ = upTo;
}

bool endsWordGap(const char *p, qsizetype end)
{
    const auto c = static_cast<unsigned char>(p[end - 1]);
    if (c >= 0x80 || c == '-' || c == '\r' || c == '\'' || (c >= '0' && c <= '9')
        || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return false;
    if (c != '\n' || end < 2)
        return true;
    return p[end - 2] != '-' && !(p[end - 2] == '\r' && end >= 3 && p[end - 3] == '-');
}

qsizetype lastWordGap(QByteArrayView bytes)
{
    for (qsizetype i = bytes.size(); i > 0; --i) {
        if (endsWordGap(bytes.data(), i))
            return i;
    }
    return 0;
}

QByteArray readInputFiles(const std::vector<std::string> &names, ReadFunction read)
{
    return ChunkedInput(names, ChunkedInput::kWhole, PieceEnd::Lf, read).next();
}

QString decodeInput(const QByteArray &bytes, bool raw)
{
    return decodeUtf8(bytes, !raw);
}

} // namespace wordloom::cli
