#include "PhraseCount.h"

#include "CommandError.h"
#include "lib/PhraseWalk.h"
#include "SortA2ThenA1.h"

namespace wordloom::ops {

Outcome phraseCount(CommandHost &host, const QString &groupSeparator, std::size_t budgetBytes)
{
    host.showStatus(QStringLiteral("Dehyphenating..."));
    // A word broken with a hyphen at a line's end is joined again.
    QString work = host.inputText().toLower();
    work.remove(QStringLiteral("-\r\n"));
    host.setWorkText(work);
    if (host.cancelRequested())
        return cancelled(host);
    host.processEvents();
    auto table = basTextRepeat::BuildPhraseFrequency(work, host, budgetBytes);
    if (!table || host.cancelRequested())
        return cancelled(host);
    host.processEvents();
    if (table->empty()) {
        host.setResultText(QString());
        host.showStatus(QStringLiteral("Ready"));
        return Outcome::Ready;
    }
    host.showStatus(QStringLiteral("Sorting..."));
    SortA2ThenA1(*table, host);
    if (host.cancelRequested())
        return cancelled(host);
    ReportStyle style{QStringLiteral("Sizing..."), QStringLiteral("Formatting..."), 0};
    style.resultBudgetBytes = budgetBytes;
    style.tooLargeMessage = tooRepetitiveMessage(budgetBytes);
    const auto result = formatFrequencyTable(*table, host, style, groupSeparator);
    if (!result)
        return cancelled(host);
    host.setResultText(*result);
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace wordloom::ops
