#include "RunMerge.h"

#include "BinaryOrder.h"

#include <algorithm>
#include <utility>

namespace wordloom::cli {

namespace {

// The next line of every run, the smallest on top; equal lines go in the
// order of their runs, which keeps the merge stable.
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

} // namespace

void mergeRuns(const std::vector<RunFile *> &runs, std::size_t bufferBytes, const LineSink &sink)
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

RunMerge::RunMerge(std::string temporaryDirectory, std::size_t bufferBytes, std::size_t width)
    : temporaryDirectory_(std::move(temporaryDirectory)), bufferBytes_(bufferBytes),
      width_(std::max<std::size_t>(width, 2))
{
}

void RunMerge::add(std::unique_ptr<RunFile> run)
{
    // A full set of one generation, always the last runs as in counting, is
    // merged only once a run follows it: the last merge may take it whole.
    while (waiting_.size() >= width_
           && waiting_[waiting_.size() - width_].generation == waiting_.back().generation)
        mergeLast(width_, waiting_.back().generation + 1);
    waiting_.push_back({std::move(run), 0});
}

void RunMerge::finish(const LineSink &sink)
{
    // Only the last merge goes to the sink; the runs beyond its width are
    // merged first, the latest (the smallest) of them.
    while (waiting_.size() > width_) {
        const std::size_t count = std::min(width_, waiting_.size() - width_ + 1);
        mergeLast(count, waiting_[waiting_.size() - count].generation + 1);
    }
    std::vector<RunFile *> runs;
    for (const Waiting &waiting : waiting_)
        runs.push_back(waiting.run.get());
    mergeRuns(runs, bufferBytes_, sink);
    waiting_.clear();
}

void RunMerge::mergeLast(std::size_t count, unsigned generation)
{
    auto merged = std::make_unique<RunFile>(temporaryDirectory_);
    std::vector<RunFile *> runs;
    for (std::size_t i = waiting_.size() - count; i < waiting_.size(); ++i)
        runs.push_back(waiting_[i].run.get());
    mergeRuns(runs, bufferBytes_, [&](QStringView line) { merged->append(line); });
    merged->finishWriting();
    waiting_.resize(waiting_.size() - count);
    waiting_.push_back({std::move(merged), generation});
}

} // namespace wordloom::cli
