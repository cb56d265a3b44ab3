#include "ExternalSort.h"
#include "BatchHost.h"

#include "RunFile.h"
#include "BinaryOrder.h"
#include "SortLines.h"
#include "TextViews.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <span>
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
    const std::optional<ops::SortedLines> sorted = ops::sortLinesUpToJoin(host);
    auto run = std::make_unique<RunFile>(job.temporaryDirectory);
    RunFilter filter(*run, job.unique);
    if (last && afterOthers && sorted->lines.empty())
        filter.add(QStringView());
    std::size_t k = 0;
    if (!last && !sorted->order.empty() && sorted->lines[sorted->order[0]].isEmpty())
        k = 1;
    for (; k < sorted->order.size(); ++k)
        filter.add(sorted->lines[sorted->order[k]]);
    run->finishWriting();
    return run;
}

// The next line of every run, the smallest on top; equal lines go in the
// order of their runs, which keeps the sort stable.
class RunHeads {
public:
    struct Head {
        QStringView line;
        std::size_t run;
    };

    void add(Head head)
    {
        heads_.push_back(head);
        std::push_heap(heads_.begin(), heads_.end(), later);
    }
    bool empty() const { return heads_.empty(); }
    const Head &top() const { return heads_.front(); }
    // The top run's next line replaces its last one: one sift instead of two.
    void replaceTop(QStringView line)
    {
        heads_.front().line = line;
        siftDown();
    }
    void removeTop()
    {
        std::pop_heap(heads_.begin(), heads_.end(), later);
        heads_.pop_back();
    }

private:
    static bool later(const Head &a, const Head &b)
    {
        const int order = compareCodeUnits(a.line, b.line);
        return order != 0 ? order > 0 : a.run > b.run;
    }
    void siftDown()
    {
        const std::size_t n = heads_.size();
        for (std::size_t i = 0;;) {
            std::size_t least = i;
            for (const std::size_t child : {2 * i + 1, 2 * i + 2})
                if (child < n && later(heads_[least], heads_[child]))
                    least = child;
            if (least == i)
                return;
            std::swap(heads_[i], heads_[least]);
            i = least;
        }
    }

    std::vector<Head> heads_;
};

// Merges sorted runs into the sink.
void mergeRuns(std::span<const std::unique_ptr<RunFile>> runs, std::size_t bufferBytes,
               const LineSink &sink)
{
    RunHeads heads;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        runs[i]->startReading(bufferBytes / 2 / runs.size());
        QStringView line;
        if (runs[i]->readLine(line))
            heads.add({line, i});
    }
    while (!heads.empty()) {
        sink(heads.top().line);
        QStringView next;
        if (runs[heads.top().run]->readLine(next))
            heads.replaceTop(next);
        else
            heads.removeTop();
    }
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
    std::vector<std::unique_ptr<RunFile>> runs;
    QByteArray piece = std::move(first);
    for (;;) {
        const bool last = input.atEnd();
        status.showStatus(QStringLiteral("Sorting part %1...").arg(runs.size() + 1));
        runs.push_back(sortPiece(std::move(piece), last, !runs.empty(), job));
        if (last)
            break;
        piece = input.next();
    }
    status.showStatus(QStringLiteral("Merging..."));
    LineOutput joined(output, job.crLfToLf);
    QString lastKept;
    mergeSortedRuns(std::move(runs), job, finalSink(joined, job.unique, lastKept));
    joined.flush();
    status.showStatus(QStringLiteral("Ready"));
}

void mergeSortedRuns(std::vector<std::unique_ptr<RunFile>> runs, const ExternalSortJob &job,
                     const LineSink &sink)
{
    const std::size_t width = std::max<std::size_t>(job.mergeWidth, 2);
    while (runs.size() > width)
        mergeEarliestRuns(runs, width, job);
    mergeRuns(runs, job.bufferBytes, sink);
}

void mergeEarliestRuns(std::vector<std::unique_ptr<RunFile>> &runs, std::size_t count,
                       const ExternalSortJob &job)
{
    // The merged run stays first for the ties.
    count = std::min(count, runs.size());
    auto merged = std::make_unique<RunFile>(job.temporaryDirectory);
    const std::span<const std::unique_ptr<RunFile>> group(runs.data(), count);
    mergeRuns(group, job.bufferBytes, [&](QStringView line) { merged->append(line); });
    merged->finishWriting();
    runs.erase(runs.begin(), runs.begin() + std::ptrdiff_t(count));
    runs.insert(runs.begin(), std::move(merged));
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
    buffer_.clear();
}

} // namespace wordloom::cli
