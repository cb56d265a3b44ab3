#include "CommandTable.h"

#include "ChangeCase.h"
#include "PhraseCount.h"
#include "WordCount.h"

#include <algorithm>
#include <array>

namespace wordloom::ops {

std::span<const Command> commandTable()
{
    static const std::array commands = {
        Command{"change-case", [](CommandHost &h) { changeCase(h); }},
        Command{"word-count", [](CommandHost &h) { wordCount(h); }},
        Command{"phrase-count", [](CommandHost &h) { phraseCount(h); }},
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
