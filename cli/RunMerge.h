#pragma once

#include "RunFile.h"

#include <QStringView>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wordloom::cli {

using LineSink = std::function<void(QStringView)>;

// Sorted runs merged as they come, a balanced merge: `width` runs of one
// generation side by side become one run of the next, so each line is written
// once per generation, about log_width(runs) times in all, and at most
// `width` runs per generation wait, each an open file. The runs keep
// the order in which they came, so equal lines come out in that order and
// the merge stays stable.
class RunMerge {
public:
    RunMerge(std::string temporaryDirectory, std::size_t bufferBytes, std::size_t width);

    void add(std::unique_ptr<RunFile> run);
    bool empty() const { return waiting_.empty(); }
    // Every line of every run into the sink; then no run is left.
    void finish(const LineSink &sink);

private:
    struct Waiting {
        std::unique_ptr<RunFile> run;
        unsigned generation;
    };
    // The last `count` runs merged into one of the given generation.
    void mergeLast(std::size_t count, unsigned generation);

    std::string temporaryDirectory_;
    std::size_t bufferBytes_;
    std::size_t width_;
    std::vector<Waiting> waiting_; // generations never rise from first to last
};

// Merges sorted runs into the sink, reading each with its share of half the
// buffer; equal lines come in the order of the runs.
void mergeRuns(const std::vector<RunFile *> &runs, std::size_t bufferBytes, const LineSink &sink);

} // namespace wordloom::cli
