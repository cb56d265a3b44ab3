#include "WordCount.h"

#include "SortA2ThenA1.h"
#include "basLibWordFreq.h"

namespace wordloom::ops {

Outcome wordCount(CommandHost &host, const QString &groupSeparator)
{
    return wordCountReport(basLibWordFreq::BuildWordFrequency(host), host, groupSeparator);
}

Outcome wordCountReport(FrequencyTable table, CommandHost &host, const QString &groupSeparator)
{
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Sorting"));
    SortA2ThenA1(table, host);
    if (host.cancelRequested())
        return cancelled(host);
    ReportStyle style;
    style.sizingStatus = QStringLiteral("Sizing");
    style.formattingStatus = QStringLiteral("Formatting results");
    style.minimumTextWidth = 1;
    style.tooLargeMessage = "The Word Count result would need more than "
        + std::to_string(style.resultBudgetBytes >> 20)
        + " MB of memory: a very long word makes every line as wide as itself.";
    if (reportFrequencyTable(table, host, style, groupSeparator) == Outcome::Cancelled)
        return Outcome::Cancelled;
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace wordloom::ops
