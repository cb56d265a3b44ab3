// The command buttons' handlers: each runs the command's shared handler
// against the window.
#include "frmWordloom.h"

#include "CommandHandlers.h"
#include "CommandTable.h"
#include "WindowCommandHost.h"

#include <QPushButton>

namespace wordloom {

void frmWordloom::connectHandlers()
{
    connect(cmdCancel, &QPushButton::clicked, this, &frmWordloom::cmdCancel_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmWordloom::cmdExit_Click);
    for (const ops::Command &c : ops::commandTable()) {
        // A failure names the command by its caption.
        const QString name = QString::fromLatin1(c.caption.data(), qsizetype(c.caption.size()));
        const ops::CommandId id = c.id;
        connect(commandButtons_[std::size_t(id)], &QPushButton::clicked, this,
                [this, name, id] { runHandler(name, [this, id] { commandButton_Click(id); }); });
    }
}

frmWordloom::Handler frmWordloom::namedHandler(ops::CommandId id)
{
    using ops::CommandId;
    switch (id) {
    case CommandId::ChangeCase: return &frmWordloom::cmdCase_Click;
    case CommandId::CharactersOnly: return &frmWordloom::cmdClean_Click;
    case CommandId::LettersOnly: return &frmWordloom::cmdPurify_Click;
    case CommandId::BinaryCodes: return &frmWordloom::cmdBinaryCodes_Click;
    case CommandId::SortLines: return &frmWordloom::cmdSortLines_Click;
    case CommandId::SortWords: return &frmWordloom::cmdSortWords_Click;
    case CommandId::UniqueLines: return &frmWordloom::cmdUniqueLines_Click;
    case CommandId::UniqueWords: return &frmWordloom::cmdUniqueWords_Click;
    case CommandId::WordCount: return &frmWordloom::cmdWordCount_Click;
    case CommandId::PhraseCount: return &frmWordloom::cmdPhraseCount_Click;
    default: return nullptr; // a command the window knows only by its description
    }
}

void frmWordloom::commandButton_Click(ops::CommandId id)
{
    if (const Handler handler = namedHandler(id))
        (this->*handler)();
    else
        runCommand(ops::command(id).run);
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
