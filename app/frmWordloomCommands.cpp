// The command buttons' handlers: the window side of each command.
#include "frmWordloom.h"

#include "WindowCommandHost.h"
#include "ops/BinaryCodes.h"
#include "ops/ChangeCase.h"
#include "ops/CharacterFilters.h"
#include "ops/PhraseCount.h"
#include "ops/SortLines.h"
#include "ops/SortWords.h"
#include "ops/WordCount.h"

#include <QPushButton>

namespace wordloom {

void frmWordloom::connectHandlers()
{
    auto bind = [this](QPushButton *button, const QString &name, void (frmWordloom::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, name, handler] { runHandler(name, handler); });
    };
    bind(cmdCase, tr("Change Case"), &frmWordloom::cmdCase_Click);
    bind(cmdClean, tr("Characters Only"), &frmWordloom::cmdClean_Click);
    bind(cmdPurify, tr("Letters Only"), &frmWordloom::cmdPurify_Click);
    bind(cmdSortLines, tr("Sort Lines"), &frmWordloom::cmdSortLines_Click);
    bind(cmdSortWords, tr("Sort Words"), &frmWordloom::cmdSortWords_Click);
    bind(cmdUniqueLines, tr("Unique Lines"), &frmWordloom::cmdUniqueLines_Click);
    bind(cmdUniqueWords, tr("Unique Words"), &frmWordloom::cmdUniqueWords_Click);
    bind(cmdWordCount, tr("Word Count"), &frmWordloom::cmdWordCount_Click);
    bind(cmdPhraseCount, tr("Phrase Count"), &frmWordloom::cmdPhraseCount_Click);
    bind(cmdBinaryCodes, tr("Binary Codes"), &frmWordloom::cmdBinaryCodes_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmWordloom::cmdCancel_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmWordloom::cmdExit_Click);
}

// Commands that always run to their end and leave the busy state themselves.
void frmWordloom::runStandalone(void (*operation)(CommandHost &))
{
    BeginOperation();
    WindowCommandHost host(*this);
    operation(host);
    EndOperation();
}

void frmWordloom::cmdCase_Click() { runStandalone(&ops::changeCase); }
void frmWordloom::cmdClean_Click() { runStandalone(&ops::charactersOnly); }
void frmWordloom::cmdPurify_Click() { runStandalone(&ops::lettersOnly); }
void frmWordloom::cmdBinaryCodes_Click() { runStandalone(&ops::binaryCodes); }
void frmWordloom::cmdWordCount_Click() { runStandalone([](CommandHost &h) { ops::wordCount(h); }); }
void frmWordloom::cmdPhraseCount_Click()
{
    BeginOperation();
    WindowCommandHost host(*this);
    ops::phraseCount(host, ops::systemGroupSeparator(), phraseCountBudget);
    EndOperation();
}

// Sort Lines and Sort Words also run as steps of Unique Lines and Unique Words,
// which keep the busy state until they end.
void frmWordloom::cmdSortLines_Click()
{
    BeginOperation();
    WindowCommandHost host(*this);
    ops::sortLines(host);
    if (NestDepth == 0)
        EndOperation();
}

void frmWordloom::cmdSortWords_Click()
{
    BeginOperation();
    WindowCommandHost host(*this);
    ops::sortWords(host);
    if (NestDepth == 0)
        EndOperation();
}

} // namespace wordloom
