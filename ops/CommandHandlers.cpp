#include "CommandHandlers.h"

#include "BinaryCodes.h"
#include "ChangeCase.h"
#include "CharacterFilters.h"
#include "PhraseCount.h"
#include "SaveDepthGuard.h"
#include "SortLines.h"
#include "SortWords.h"
#include "UniqueLines.h"
#include "WordCount.h"

namespace wordloom::ops {

namespace {
// Commands that always run to their end and leave the busy state themselves.
template <typename Operation>
void standalone(CommandHost &host, Operation operation)
{
    host.beginOperation();
    operation(host);
    host.endOperation();
}

// Sort Lines, Sort Words and Unique Lines also run as steps of another
// command, which keeps the busy state until it ends.
void leaveUnlessNested(CommandHost &host)
{
    if (host.nestDepth() == 0)
        host.endOperation();
}

void runNested(CommandHost &host, void (*command)(CommandHost &))
{
    ++host.nestDepth();
    command(host);
    --host.nestDepth();
}
} // namespace

void runChangeCase(CommandHost &host) { standalone(host, changeCase); }
void runCharactersOnly(CommandHost &host) { standalone(host, charactersOnly); }
void runLettersOnly(CommandHost &host) { standalone(host, lettersOnly); }
void runBinaryCodes(CommandHost &host) { standalone(host, binaryCodes); }
void runWordCount(CommandHost &host) { standalone(host, [](CommandHost &h) { wordCount(h); }); }

void runPhraseCount(CommandHost &host, std::size_t budgetBytes)
{
    standalone(host, [budgetBytes](CommandHost &h) { phraseCount(h, systemGroupSeparator(), budgetBytes); });
}

void runSortLines(CommandHost &host)
{
    host.beginOperation();
    sortLines(host);
    leaveUnlessNested(host);
}

void runSortWords(CommandHost &host)
{
    host.beginOperation();
    sortWords(host);
    leaveUnlessNested(host);
}

void runUniqueLines(CommandHost &host)
{
    SaveDepthGuard saved(host);
    runNested(host, runSortLines);
    auto cancel = [&] {
        host.showStatus(QStringLiteral("Cancelled"));
        saved.release(false);
        leaveUnlessNested(host);
    };
    if (host.cancelRequested())
        return cancel();
    host.showStatus(QStringLiteral("Shuffling..."));
    host.setInputText(host.resultText());
    if (host.cancelRequested())
        return cancel();
    QString kept;
    if (keepUniqueSortedLines(host.resultText(), host, kept) == Outcome::Cancelled)
        return cancel();
    saved.release(true);
    host.showStatus(QStringLiteral("Formatting..."));
    host.setResultText(kept);
    host.showStatus(host.cancelRequested() ? QStringLiteral("Cancelled") : QStringLiteral("Ready"));
    leaveUnlessNested(host);
}

void runUniqueWords(CommandHost &host)
{
    SaveDepthGuard saved(host);
    runNested(host, runSortWords);
    if (host.cancelRequested()) {
        host.showStatus(QStringLiteral("Cancelled"));
    } else {
        host.setInputText(host.resultText());
        host.processEvents();
        runNested(host, runUniqueLines);
        if (host.cancelRequested())
            host.showStatus(QStringLiteral("Cancelled"));
    }
    saved.release(false);
    host.endOperation();
}

} // namespace wordloom::ops
