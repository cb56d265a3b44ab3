#pragma once

#include "Job.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace wordloom::mpi {

// Where a process's range of the input may end, so that each range gives the
// command what the whole text would: after an LF (every LF is a line break,
// or a character of its own); after a CR LF (--raw line breaks); or between
// words outside a hyphen line break (wordloom-cli's word-gap rule).
enum class Boundary { AfterLf, AfterCrLf, WordGap };

// The named files read in turn as one text, as wordloom-cli reads them: a
// file that does not end in LF gets one before the next; a UTF-8 mark at a
// file's start is dropped and UTF-16 refused; "-" (or no name) is standard
// input. Process 0 looks at every file first (its size, whether it
// ends in LF) and tells the others; standard input and other streams it reads
// whole and sends to all. Failures are recorded on the job at their place
// in the whole input, so that the earliest is the one reported.
class InputText {
public:
    InputText(Job &job, std::vector<std::string> names);
    ~InputText();
    InputText(const InputText &) = delete;
    InputText &operator=(const InputText &) = delete;

    long long size() const { return size_; }

    // Every process's range [begin, end), in rank order (collective): the
    // input cut into equal shares, each cut moved forward to the next place
    // the rule allows (a line longer than a share stays whole; later ranges
    // may be empty).
    std::vector<long long> cuts(Boundary rule);

    // A file that failed when first looked at (missing, a folder, UTF-16),
    // or any failure held before the work, at a line break, ends the job,
    // but only once the text before it is checked: invalid UTF-8 there comes
    // first, as wordloom-cli reads in order (collective).
    // `beforeEnding` runs on every process once that text is read.
    void settleEarlyFailure(const std::function<void()> &beforeEnding = {});

    // The bytes [begin, end), each file's part checked to be UTF-8.
    QByteArray read(long long begin, long long end);
    // The next piece of [at, end), which starts where the rule allows: about
    // `bytes` bytes, up to the last place in them where it may end (a longer
    // stretch without one comes whole); `at` moves past it. So a range is
    // worked on a piece at a time, as wordloom-cli reads its input.
    QByteArray readPiece(long long &at, long long end, qsizetype bytes, Boundary rule);
    // The last place in (from, to] where the rule allows a cut, looked for
    // backwards; `from` when there is none.
    long long lastCut(long long from, long long to, Boundary rule);

private:
    struct Source {
        std::string name;
        long long start = 0;
        long long size = 0;
        long long skip = 0;   // the file's bytes before its text: a UTF-8 mark
        bool lfAfter = false; // an LF joins it to the next file
        bool stream = false;  // read whole by process 0: bytes below
        QByteArray bytes;
        int fd = -1;
    };

    void lookAtSources();
    void shareSources();
    void copyOut(long long begin, long long end, char *out, bool check);
    void checkUtf8(long long begin, long long end, const char *bytes);
    long long nextCut(long long from, Boundary rule);

    Job &job_;
    std::vector<Source> sources_;
    long long size_ = 0;
};

} // namespace wordloom::mpi
