#include "CliHost.h"

#include "TableFormats.h"
#include "WordStream.h"
#include "FrequencyReport.h"
#include "TextViews.h"

#include <QByteArray>

#include <algorithm>
#include <cstdio>

namespace wordloom::cli {

void CliHost::readInputPieces(const std::function<void(QStringView)> &take)
{
    if (pieces_)
        forEachTextPiece(*pieces_, std::move(firstPiece_), options_.raw, take);
    else
        BatchHost::readInputPieces(take);
}

void CliHost::showStatus(const QString &text)
{
    if (options_.status) {
        const QByteArray line = text.toUtf8() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    }
}

void CliHost::setResultTable(const FrequencyTable &table, qsizetype width, QStringView separator)
{
    const bool keepCrLf = options_.raw || options_.crlf;
    if (options_.format == TableFormat::Table) {
        ops::writeFrequencyTableUtf8(
            table, separator, keepCrLf ? "\r\n" : "\n",
            [this](std::string_view block) { output_->write(QByteArrayView(block.data(), qsizetype(block.size()))); },
            width);
    } else {
        output_->write(formatRows(table, options_.format, keepCrLf ? u"\r\n" : u"\n"), false);
    }
    wroteResult_ = true;
}

void CliHost::setResultLines(std::span<const QStringView> lines, std::span<const std::uint32_t> order)
{
    // The command's own join, a block of lines at a time: the joined text,
    // as large as the input, is never built.
    const bool crLfToLf = !(options_.raw || options_.crlf);
    constexpr std::size_t kLinesPerBlock = std::size_t(1) << 16;
    for (std::size_t k = 0; k < order.size(); k += kLinesPerBlock) {
        if (k > 0)
            output_->write(ops::kCrLf, crLfToLf);
        const auto block = order.subspan(k, std::min(kLinesPerBlock, order.size() - k));
        output_->write(ops::joinInOrder(lines, block, ops::kCrLf), crLfToLf);
    }
    wroteResult_ = true;
}

} // namespace wordloom::cli
