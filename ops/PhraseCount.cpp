#include "PhraseCount.h"

#include "CaseConversion.h"
#include "CommandError.h"
#include "PhraseBudget.h"
#include "SortA2ThenA1.h"
#include "TextViews.h"

namespace wordloom::ops {


Outcome phraseCountTable(CommandHost &host, FrequencyTable &table, std::size_t budgetBytes)
{
    host.showStatus(QStringLiteral("Dehyphenating..."));
    // A word broken with a hyphen at a line's end is joined again.
    QString work = lowerCase(host.inputText());
    removeHyphenBreaks(work);
    host.setWorkText(work);
    if (host.cancelRequested())
        return cancelled(host);
    host.processEvents();
    // Rows in their final order: the table sort below then only checks it.
    if (basTextRepeat::BuildPhraseFrequency(std::move(work), host, table, budgetBytes,
                                            basTextRepeat::RowOrder::CountThenPhrase) == Outcome::Cancelled
        || host.cancelRequested())
        return cancelled(host);
    host.processEvents();
    if (table.empty())
        return Outcome::Ready;
    host.showStatus(QStringLiteral("Sorting..."));
    SortA2ThenA1(table, host);
    if (host.cancelRequested())
        return cancelled(host);
    return Outcome::Ready;
}

Outcome phraseCount(CommandHost &host, const QString &groupSeparator, std::size_t budgetBytes)
{
    FrequencyTable table;
    if (phraseCountTable(host, table, budgetBytes) == Outcome::Cancelled)
        return Outcome::Cancelled;
    if (table.empty()) {
        host.setResultText(QString());
        host.showStatus(QStringLiteral("Ready"));
        return Outcome::Ready;
    }
    ReportStyle style;
    style.sizingStatus = QStringLiteral("Sizing...");
    style.formattingStatus = QStringLiteral("Formatting...");
    style.resultBudgetBytes = budgetBytes;
    style.tooLargeMessage = "The text is too repetitive for Phrase Count: its list of phrases would take more than "
        + readableBytes(budgetBytes) + ".";
    if (reportFrequencyTable(table, host, style, groupSeparator) == Outcome::Cancelled)
        return Outcome::Cancelled;
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace wordloom::ops
