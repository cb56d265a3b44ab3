#include "PhraseCount.h"

#include "CaseConversion.h"
#include "CommandError.h"
#include "PhraseBudget.h"
#include "SortA2ThenA1.h"
#include "TextViews.h"

namespace wordloom::ops {


std::optional<FrequencyTable> phraseCountTable(CommandHost &host, std::size_t budgetBytes)
{
    host.showStatus(QStringLiteral("Dehyphenating..."));
    // A word broken with a hyphen at a line's end is joined again.
    QString work = lowerCase(host.inputText());
    removeHyphenBreaks(work);
    host.setWorkText(work);
    if (host.cancelRequested())
        return cancelled(host), std::nullopt;
    host.processEvents();
    // Rows in their final order: the table sort below then only checks it.
    auto table = basTextRepeat::BuildPhraseFrequency(std::move(work), host, budgetBytes,
                                                     basTextRepeat::RowOrder::CountThenPhrase);
    if (!table || host.cancelRequested())
        return cancelled(host), std::nullopt;
    host.processEvents();
    if (table->empty())
        return table;
    host.showStatus(QStringLiteral("Sorting..."));
    SortA2ThenA1(*table, host);
    if (host.cancelRequested())
        return cancelled(host), std::nullopt;
    return table;
}

Outcome phraseCount(CommandHost &host, const QString &groupSeparator, std::size_t budgetBytes)
{
    const auto table = phraseCountTable(host, budgetBytes);
    if (!table)
        return Outcome::Cancelled;
    if (table->empty()) {
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
    if (reportFrequencyTable(*table, host, style, groupSeparator) == Outcome::Cancelled)
        return Outcome::Cancelled;
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace wordloom::ops
