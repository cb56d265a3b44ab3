#pragma once

#include "InputFiles.h"
#include "OutputFile.h"
#include "RunFile.h"
#include "RunMerge.h"
#include "CommandHost.h"

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace wordloom::cli {

struct ExternalSortJob {
    bool unique = false;         // unique-lines instead of sort-lines
    bool raw = false;            // --raw: no line breaks converted
    bool crLfToLf = true;        // how the result is written
    std::string temporaryDirectory;
    std::size_t bufferBytes = 0; // bounds the working memory
    std::size_t mergeWidth = 128; // runs merged at a time (RunMerge)
};

// The input's text as a piece of at most this many bytes is sorted in memory
// within job.bufferBytes.
qsizetype externalSortChunkBytes(std::size_t bufferBytes);

// Sort Lines or Unique Lines on an input larger than the buffer: each piece
// of whole lines is sorted as the command sorts (tabs, leading spaces, stable
// binary order) into a temporary run, and the runs are merged, ties to the
// earlier run, so the result is the command's, byte for byte. `first` is the
// piece already read. The runs have no names and vanish with the process.
// `pieces` hands out the pieces after the first, in order.
struct LinePieces {
    std::function<bool()> atEnd;
    std::function<QByteArray()> next;
};
void sortExternally(const LinePieces &pieces, QByteArray first, const ExternalSortJob &job,
                    CommandHost &status, OutputFile &output);
// The pieces of the files, as wordloom-cli reads them.
inline void sortExternally(ChunkedInput &input, QByteArray first, const ExternalSortJob &job,
                           CommandHost &status, OutputFile &output)
{
    sortExternally(LinePieces{[&] { return input.atEnd(); }, [&] { return input.next(); }}, std::move(first), job,
                   status, output);
}

// Lines to the output a block at a time, CR LF between them (or after each,
// when terminated), written only after a whole line, so that no CR LF pair is
// split between two writes. A full block is encoded and written on a thread
// of its own while the next one fills (unless memory limits count threads);
// a failure there is thrown by the next add() or flush().
class LineOutput {
public:
    LineOutput(OutputFile &output, bool crLfToLf, bool terminated = false);
    void add(QStringView line);
    // Everything added so far is written when it returns.
    void flush();

private:
    void handOff();

    static constexpr qsizetype kBlock = qsizetype(1) << 20;
    OutputFile &output_;
    bool crLfToLf_;
    bool terminated_;
    bool first_ = true;
    std::launch policy_; // a thread, unless memory limits count threads
    QString buffer_;
    QString writing_;             // the block being written
    std::future<void> written_;   // last: its end waits for the write using the members above
};

} // namespace wordloom::cli
