// The command buttons' handlers: each runs the command's shared handler
// against the window.
#include "frmWordloom.h"

#include "WindowCommandHost.h"
#include "CommandHandlers.h"

#include <QPushButton>

namespace wordloom {

void frmWordloom::connectHandlers()
{
    for (const auto &design : buttonDesigns()) {
        QPushButton *button = this->*design.member;
        const auto handler = design.click;
        if (!design.runsCommand) {
            connect(button, &QPushButton::clicked, this, handler);
            continue;
        }
        // A failure names the command by its caption.
        const QString name = QString::fromLatin1(design.caption.data(), qsizetype(design.caption.size()));
        connect(button, &QPushButton::clicked, this, [this, name, handler] { runHandler(name, handler); });
    }
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
    ops::runPhraseCount(host, services_.phraseCountBudget);
}

} // namespace wordloom
