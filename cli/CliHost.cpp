#include "CliHost.h"

#include "TableFormats.h"
#include "ops/FrequencyReport.h"

#include <QByteArray>

#include <cstdio>

namespace wordloom::cli {

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
    wroteTable_ = true;
}

} // namespace wordloom::cli
