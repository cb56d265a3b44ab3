#include "FrequencyReport.h"

#include "CommandError.h"

#include <QLocale>

namespace wordloom::ops {

QString systemGroupSeparator()
{
    return QLocale::system().groupSeparator();
}

QString formatCount(std::int64_t count, QStringView separator)
{
    if (count == 0)
        return {};
    const QString digits = QString::number(count);
    const qsizetype sign = digits.startsWith(u'-') ? 1 : 0;
    QString out = digits.first(sign);
    for (qsizetype i = sign; i < digits.size(); ++i) {
        const qsizetype left = digits.size() - i;
        if (i > sign && left % 3 == 0)
            out.append(separator);
        out.append(digits[i]);
    }
    return out;
}

namespace {
// PadToWidth(text, width, " ") appended in place: one buffer for the whole result.
void appendPadded(QString &result, const QString &text, qsizetype width)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    end = std::min(end, width);
    result.append(QStringView(text).first(end));
    result.resize(result.size() + width - end, u' ');
}

std::optional<qsizetype> longestText(const FrequencyTable &table, CommandHost &host,
                                     qsizetype minimum)
{
    qsizetype longest = minimum;
    for (const auto &row : table) {
        longest = std::max(longest, row.text.size());
        if (host.cancelRequested())
            return std::nullopt;
    }
    return longest;
}
} // namespace

std::optional<QString> formatFrequencyTable(const FrequencyTable &table, CommandHost &host,
                                            const ReportStyle &style, QStringView separator)
{
    host.showStatus(style.sizingStatus);
    const auto longest = longestText(table, host, style.minimumTextWidth);
    if (!longest)
        return std::nullopt;
    host.showStatus(style.formattingStatus);
    const qsizetype width = *longest + 2;
    const std::size_t resultBytes = 2 * table.size() * std::size_t(width + 32);
    if (resultBytes > style.resultBudgetBytes)
        throw CommandError(style.tooLargeMessage);
    QString result;
    result.reserve(qsizetype(table.size()) * (width + 12));
    for (const auto &row : table) {
        appendPadded(result, row.text, width);
        result.append(formatCount(row.count, separator));
        result.append(u"\r\n");
        if (host.cancelRequested())
            return std::nullopt;
    }
    return result;
}

} // namespace wordloom::ops
