#include "CountRows.h"

#include "lib/basLibWordFreq.h"
#include "lib/basTextRepeat.h"
#include "ops/SortA2ThenA1.h"

namespace wordloom::cli {

namespace {

FrequencyTable phraseRows(CommandHost &host)
{
    host.showStatus(QStringLiteral("Dehyphenating..."));
    QString work = host.inputText().toLower();
    work.remove(QStringLiteral("-\r\n"));
    // The CLI's host never cancels, so a table always comes back.
    auto table = basTextRepeat::BuildPhraseFrequency(work, host);
    return table ? std::move(*table) : FrequencyTable{};
}

} // namespace

FrequencyTable orderedWordRows(FrequencyTable table, CommandHost &host)
{
    host.showStatus(QStringLiteral("Sorting"));
    ops::SortA2ThenA1(table, host);
    host.showStatus(QStringLiteral("Ready"));
    return table;
}

FrequencyTable countRows(std::string_view command, CommandHost &host)
{
    FrequencyTable table = command == "phrase-count"
        ? phraseRows(host)
        : basLibWordFreq::BuildWordFrequency(host.inputText(), host);
    host.showStatus(command == "phrase-count" ? QStringLiteral("Sorting...")
                                              : QStringLiteral("Sorting"));
    ops::SortA2ThenA1(table, host);
    host.showStatus(QStringLiteral("Ready"));
    return table;
}

} // namespace wordloom::cli
