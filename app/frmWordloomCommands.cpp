// The command buttons' handlers: each runs the command's shared handler
// against the window.
#include "frmWordloom.h"

#include "WindowCommandHost.h"
#include "CommandHandlers.h"

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

void frmWordloom::runCommand(void (*command)(CommandHost &))
{
    WindowCommandHost host(*this);
    command(host);
}

void frmWordloom::cmdCase_Click() { runCommand(ops::runChangeCase); }
void frmWordloom::cmdClean_Click() { runCommand(ops::runCharactersOnly); }
void frmWordloom::cmdPurify_Click() { runCommand(ops::runLettersOnly); }
void frmWordloom::cmdBinaryCodes_Click() { runCommand(ops::runBinaryCodes); }
void frmWordloom::cmdWordCount_Click() { runCommand(ops::runWordCount); }
void frmWordloom::cmdSortLines_Click() { runCommand(ops::runSortLines); }
void frmWordloom::cmdSortWords_Click() { runCommand(ops::runSortWords); }
void frmWordloom::cmdUniqueLines_Click() { runCommand(ops::runUniqueLines); }
void frmWordloom::cmdUniqueWords_Click() { runCommand(ops::runUniqueWords); }

void frmWordloom::cmdPhraseCount_Click()
{
    WindowCommandHost host(*this);
    ops::runPhraseCount(host, phraseCountBudget_);
}

} // namespace wordloom
