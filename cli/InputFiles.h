#pragma once

#include <QByteArray>
#include <QString>

#include <limits>
#include <string>
#include <sys/types.h>
#include <vector>

namespace wordloom::cli {

// read(2) or a stand-in that tests make fail.
using ReadFunction = ssize_t (*)(int, void *, size_t);

// The bytes of the named files in turn ("-" or no name at all: standard
// input), handed out in pieces of whole lines. A file that does not end in LF
// gets one before the next file, so its last line or word never runs into the
// next file's first. Every file is checked to be UTF-8. Failures throw
// IoError naming the file and the reason.
class ChunkedInput {
public:
    static constexpr qsizetype kWhole = std::numeric_limits<qsizetype>::max() / 2;

    // A piece is the whole lines among about the next chunkBytes: it ends
    // after an LF (a CR LF when crLfOnly), and a longer line comes whole.
    ChunkedInput(std::vector<std::string> names, qsizetype chunkBytes, bool crLfOnly = false,
                 ReadFunction read = ::read);
    ~ChunkedInput();
    ChunkedInput(const ChunkedInput &) = delete;
    ChunkedInput &operator=(const ChunkedInput &) = delete;

    QByteArray next();
    bool atEnd() const { return allRead_ && pending_.isEmpty(); }

private:
    void fill(qsizetype wanted);
    bool openNextFile();
    void readSome(qsizetype wanted);
    void finishFile();
    void validate(qsizetype upTo);
    qsizetype lastLineEnd() const;

    std::vector<std::string> names_;
    qsizetype chunkBytes_;
    bool crLfOnly_;
    ReadFunction read_;
    QByteArray pending_;
    std::size_t fileIndex_ = 0;
    int fd_ = -1;
    bool regular_ = false;
    bool allRead_ = false;
    qsizetype fileBytes_ = 0;      // bytes read from the current file
    bool fileEndsInLf_ = false;    // its last byte so far (pieces may have taken it)
    qsizetype fileStart_ = 0;      // where its unchecked bytes begin in pending_
    qsizetype checkedOffset_ = 0;  // its offset of that byte
};

// The whole input as one piece.
QByteArray readInputFiles(const std::vector<std::string> &names, ReadFunction read = ::read);

// The text as the input pane would hold it (see decodeUtf8).
QString decodeInput(const QByteArray &bytes, bool raw);

} // namespace wordloom::cli
