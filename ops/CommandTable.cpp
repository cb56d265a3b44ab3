#include "CommandTable.h"

#include "CommandHandlers.h"

#include <algorithm>
#include <array>

namespace wordloom::ops {

std::span<const Command> commandTable()
{
    static const std::array commands = {
        Command{"change-case", runChangeCase},
        Command{"characters-only", runCharactersOnly},
        Command{"letters-only", runLettersOnly},
        Command{"binary-codes", runBinaryCodes},
        Command{"sort-lines", runSortLines},
        Command{"sort-words", runSortWords},
        Command{"unique-lines", runUniqueLines},
        Command{"unique-words", runUniqueWords},
        Command{"word-count", runWordCount},
        Command{"phrase-count", [](CommandHost &h) { runPhraseCount(h); }},
    };
    return commands;
}

const Command *findCommand(std::string_view name)
{
    const auto table = commandTable();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [&](const Command &c) { return c.name == name; });
    return it == table.end() ? nullptr : &*it;
}

} // namespace wordloom::ops
