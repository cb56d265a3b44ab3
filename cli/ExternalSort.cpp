#include "ExternalSort.h"
#include "BatchHost.h"

#include "RunFile.h"
#include "SortLines.h"
#include "TextViews.h"

#include <algorithm>
#include <functional>
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
    // While a piece is sorted, its text takes twice its bytes in UTF-16, with
    // a view and an index per line besides, and the next piece's buffer waits.
    return qsizetype(std::max<std::size_t>(bufferBytes / 6, std::size_t(1) << 16));
}

void sortExternally(ChunkedInput &input, QByteArray first, const ExternalSortJob &job,
                    CommandHost &status, OutputFile &output)
{
    RunMerge runs(job.temporaryDirectory, job.bufferBytes, job.mergeWidth);
    QByteArray piece = std::move(first);
    for (std::size_t parts = 1;; ++parts) {
        const bool last = input.atEnd();
        status.showStatus(QStringLiteral("Sorting part %1...").arg(parts));
        runs.add(sortPiece(std::move(piece), last, parts > 1, job));
        if (last)
            break;
        piece = input.next();
    }
    status.showStatus(QStringLiteral("Merging..."));
    LineOutput joined(output, job.crLfToLf);
    QString lastKept;
    runs.finish(finalSink(joined, job.unique, lastKept));
    joined.flush();
    status.showStatus(QStringLiteral("Ready"));
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
        flush();
}

void LineOutput::flush()
{
    output_.write(buffer_, crLfToLf_);
    buffer_.resize(0); // keeps the block: no fresh pages for the next one
}

} // namespace wordloom::cli
