#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <limits>
#include <string>
#include <sys/types.h>
#include <vector>

namespace wordloom::cli {

// read(2) or a stand-in that tests make fail.
using ReadFunction = ssize_t (*)(int, void *, size_t);

// Where a piece may end: after an LF; after a CR LF; or between words, after
// an ASCII character that separates words for every word command and is not
// part of a hyphen line break ("-" CR LF, or "-" LF that becomes one), so that
// the pieces' words, hyphen breaks and line breaks are those of the whole.
enum class PieceEnd { Lf, CrLf, WordGap };

// The bytes of the named files in turn ("-" or no name at all: standard
// input), handed out in pieces of whole lines. A file that does not end in LF
// gets one before the next file, so its last line or word never runs into the
// next file's first. Every file is checked to be UTF-8: a UTF-8 byte-order
// mark at its start is dropped, and a file that begins as UTF-16 is refused
// as such (utf16Form). Failures throw IoError naming the file and the reason.
class ChunkedInput {
public:
    static constexpr qsizetype kWhole = std::numeric_limits<qsizetype>::max() / 2;

    // A piece is about the next chunkBytes up to the last place where it may
    // end; a longer line (or run without a word gap) comes whole.
    ChunkedInput(std::vector<std::string> names, qsizetype chunkBytes, PieceEnd end = PieceEnd::Lf,
                 ReadFunction read = ::read);
    ~ChunkedInput();
    ChunkedInput(const ChunkedInput &) = delete;
    ChunkedInput &operator=(const ChunkedInput &) = delete;

    QByteArray next();
    bool atEnd() const { return allRead_ && pending_.isEmpty(); }
    void setChunkBytes(qsizetype chunkBytes) { chunkBytes_ = std::max<qsizetype>(chunkBytes, 1); }

private:
    void fill(qsizetype wanted);
    bool openNextFile();
    void readSome(qsizetype wanted);
    void finishFile();
    void inspectHead();
    void validate(qsizetype upTo);
    qsizetype lastPieceEnd(qsizetype within) const; // in the first `within` bytes

    std::vector<std::string> names_;
    qsizetype chunkBytes_;
    PieceEnd end_;
    ReadFunction read_;
    QByteArray pending_;
    std::size_t fileIndex_ = 0;
    int fd_ = -1;
    bool regular_ = false;
    bool allRead_ = false;
    bool headPending_ = false;     // the current file's first bytes are still to be inspected
    qsizetype fileBytes_ = 0;      // bytes read from the current file
    bool fileEndsInLf_ = false;    // its last byte so far (pieces may have taken it)
    qsizetype fileStart_ = 0;      // where its unchecked bytes begin in pending_
    qsizetype checkedOffset_ = 0;  // its offset of that byte
};

// Whether a piece may end after p[end - 1] (see PieceEnd::WordGap), p[0]
// being the start of a text or a byte after such an end. A piece never ends
// after "-" or CR, so p[-1] of a later piece needs no look.
bool endsWordGap(const char *p, qsizetype end);

// Where the last piece that the bytes could give under PieceEnd::WordGap
// ends (the bytes being the start of a text or of such a piece); 0: nowhere.
qsizetype lastWordGap(QByteArrayView bytes);

// The whole input as one piece.
QByteArray readInputFiles(const std::vector<std::string> &names, ReadFunction read = ::read);

// The text as the input pane would hold it (see decodeUtf8).
QString decodeInput(const QByteArray &bytes, bool raw);

} // namespace wordloom::cli
