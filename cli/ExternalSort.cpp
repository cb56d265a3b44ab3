#include "ExternalSort.h"
#include "BatchHost.h"
#include "BufferSize.h"

#include "RunFile.h"
#include "SideBySide.h"
#include "SortLines.h"
#include "TextViews.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace wordloom::cli {

namespace {

// Hands one piece of text to the core's line sort; no status, no cancel.
class PieceHost final : public BatchHost {
public:
    explicit PieceHost(QString text) : text_(std::move(text)) {}
    QString inputText() override { return std::exchange(text_, QString()); }
    void showStatus(const QString &) override {}
    bool cancelRequested() override { return false; }
    void processEvents() override {}
    void setWorkText(const QString &) override {}
    void setResultText(const QString &) override {}

private:
    QString text_;
};

// Lines to a run, the unique ones only when asked (empty lines and repeats
// go: the merge would drop them anyway).
class RunFilter {
public:
    RunFilter(RunFile &run, bool unique) : run_(run), unique_(unique) {}
    void add(QStringView line)
    {
        if (unique_ && (line.isEmpty() || (wrote_ && line == last_)))
            return;
        run_.append(line);
        last_ = line;
        wrote_ = true;
    }

private:
    RunFile &run_;
    bool unique_;
    bool wrote_ = false;
    QStringView last_;
};

// A piece that is not the last ends with a line break, so its split has one
// empty piece too many (the sort puts it first); an empty last piece after
// others is the text's empty last line.
std::unique_ptr<RunFile> sortPiece(QByteArray bytes, bool last, bool afterOthers,
                                   const ExternalSortJob &job)
{
    PieceHost host(decodeInput(bytes, job.raw));
    bytes = QByteArray();
    ops::SortedLines sorted;
    ops::sortLinesUpToJoin(host, sorted); // this host never asks to cancel
    auto run = std::make_unique<RunFile>(job.temporaryDirectory);
    RunFilter filter(*run, job.unique);
    if (last && afterOthers && sorted.lines.empty())
        filter.add(QStringView());
    std::size_t k = 0;
    if (!last && !sorted.order.empty() && sorted.lines[sorted.order[0]].isEmpty())
        k = 1;
    for (; k < sorted.order.size(); ++k)
        filter.add(sorted.lines[sorted.order[k]]);
    run->finishWriting();
    return run;
}

// About the most that sorting a piece takes: its text in UTF-16, a CR
// added before each LF, and per line a view, an index and the sort's keys
// (two of 24 bytes while they are ordered).
std::size_t sortingBytes(const QByteArray &piece)
{
    const auto lines = std::size_t(std::count(piece.cbegin(), piece.cend(), '\n')) + 1;
    return 2 * (std::size_t(piece.size()) + lines) + 72 * lines;
}

// Threads take address space of their own (a stack, an allocator arena),
// which a limit on the address space or the data counts. Under one, work
// waits for the calling thread (each task runs there at get()), as before,
// rather than failing where one thread fits. The same without a second core.
std::launch threadsWithinBounds()
{
    const MemoryBounds bounds = currentMemoryBounds();
    return secondCoreAllowed() && bounds.addressSpaceLimit == 0 && bounds.dataLimit == 0 ? std::launch::async
                                                                                         : std::launch::deferred;
}

// Unique Lines keeps each distinct non-empty line once.
LineSink finalSink(LineOutput &joined, bool unique, QString &lastKept)
{
    if (!unique)
        return [&joined](QStringView line) { joined.add(line); };
    return [&joined, &lastKept](QStringView line) {
        if (line.isEmpty() || line == lastKept)
            return;
        lastKept = line.toString();
        joined.add(line);
    };
}

} // namespace

qsizetype externalSortChunkBytes(std::size_t bufferBytes)
{
    // Lines of some 80 bytes: two pieces sorted side by side (sortingBytes)
    // fit in the buffer, and one beside the next piece read; shorter lines
    // take more for each, and their pieces are sorted one at a time.
    return qsizetype(std::max<std::size_t>(bufferBytes / 7, std::size_t(1) << 16));
}

void sortExternally(const LinePieces &input, QByteArray first, const ExternalSortJob &job,
                    CommandHost &status, OutputFile &output)
{
    RunMerge runs(job.temporaryDirectory, job.bufferBytes, job.mergeWidth);
    {
        // Both cores sort: two pieces at a time on threads of their own when
        // both fit in the buffer, else one at a time; the next piece is read
        // while one runs. Status is posted and runs are added here, in the
        // order of the pieces, so the merge and its ties are as before.
        // Leaving early (an error) waits for the sorts in hand: a future of
        // std::async joins its thread when it goes.
        struct Sorting {
            std::future<std::unique_ptr<RunFile>> run;
            std::size_t bytes;
        };
        std::deque<Sorting> sorting;
        const std::launch policy = threadsWithinBounds();
        const auto addOldest = [&] {
            runs.add(sorting.front().run.get());
            sorting.pop_front();
        };
        QByteArray piece = std::move(first);
        for (std::size_t parts = 1;; ++parts) {
            const bool last = input.atEnd();
            const std::size_t bytes = sortingBytes(piece);
            if (!sorting.empty() && sorting.front().bytes + bytes > job.bufferBytes)
                addOldest();
            status.showStatus(QStringLiteral("Sorting part %1...").arg(parts));
            sorting.push_back({std::async(policy, sortPiece, std::move(piece), last,
                                          parts > 1, std::cref(job)),
                               bytes});
            if (last)
                break;
            if (sorting.size() == 2)
                addOldest();
            piece = input.next();
        }
        while (!sorting.empty())
            addOldest();
    }
    status.showStatus(QStringLiteral("Merging..."));
    LineOutput joined(output, job.crLfToLf);
    QString lastKept;
    runs.finish(finalSink(joined, job.unique, lastKept));
    joined.flush();
    status.showStatus(QStringLiteral("Ready"));
}

LineOutput::LineOutput(OutputFile &output, bool crLfToLf, bool terminated)
    : output_(output), crLfToLf_(crLfToLf), terminated_(terminated), policy_(threadsWithinBounds())
{
}

void LineOutput::add(QStringView line)
{
    if (!first_ && !terminated_)
        buffer_ += u"\r\n";
    first_ = false;
    buffer_ += line;
    if (terminated_)
        buffer_ += u"\r\n";
    if (buffer_.size() >= kBlock)
        handOff();
}

void LineOutput::handOff()
{
    if (written_.valid())
        written_.get();
    // The two blocks change places, each keeping its pages for the next turn.
    writing_.swap(buffer_);
    buffer_.resize(0);
    written_ = std::async(policy_, [this] { output_.write(writing_, crLfToLf_); });
}

void LineOutput::flush()
{
    handOff();
    written_.get();
}

} // namespace wordloom::cli
