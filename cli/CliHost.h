#pragma once

#include "InputFiles.h"
#include "Options.h"
#include "OutputFile.h"

#include "BatchHost.h"

namespace wordloom::cli {

// The CLI's host: the panes in memory, statuses echoed to standard error on
// request, and frequency tables and sorted lines written straight to the
// output (as UTF-8, a block at a time) instead of held as one text.
class CliHost final : public BatchHost {
public:
    CliHost(QString input, const Options &options, OutputFile *output)
        : BatchHost(std::move(input)), options_(options), output_(output)
    {
    }

    // Reads the text from `input` a piece at a time for a step that takes it
    // so (Word Count), `first` being the piece already read; the input pane
    // stays empty.
    void readInputFrom(ChunkedInput &input, QByteArray first)
    {
        pieces_ = &input;
        firstPiece_ = std::move(first);
    }
    void readInputPieces(const std::function<void(QStringView)> &take) override;

    void showStatus(const QString &text) override;
    bool acceptsResultTable() override { return output_ != nullptr; }
    void setResultTable(const FrequencyTable &table, qsizetype width, QStringView separator) override;
    bool acceptsResultLines() override { return output_ != nullptr; }
    void setResultLines(std::span<const QStringView> lines, std::span<const std::uint32_t> order) override;

    // The user's text is kept aside while Unique Lines and Unique Words run,
    // to be put back into the input pane; the CLI shows no input pane and
    // drops it at the end, so it is not kept at all (a text's size less at
    // the peak).
    void setSaveText(const QString &) override {}

    void releaseInput() { setInputText(QString()); }
    // Whether the result went to the output already, as a table or lines.
    bool wroteResult() const { return wroteResult_; }

private:
    const Options &options_;
    OutputFile *output_;
    ChunkedInput *pieces_ = nullptr;
    QByteArray firstPiece_;
    bool wroteResult_ = false;
};

} // namespace wordloom::cli
