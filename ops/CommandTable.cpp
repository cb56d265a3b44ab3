#include "CommandTable.h"

#include "BinaryCodes.h"
#include "ChangeCase.h"
#include "CharacterFilters.h"
#include "SortLines.h"
#include "SortWords.h"
#include "UniqueLines.h"
#include "PhraseCount.h"
#include "WordCount.h"

#include <algorithm>
#include <array>

namespace wordloom::ops {

std::span<const Command> commandTable()
{
    static const std::array commands = {
        Command{"change-case", [](CommandHost &h) { changeCase(h); }},
        Command{"characters-only", [](CommandHost &h) { charactersOnly(h); }},
        Command{"letters-only", [](CommandHost &h) { lettersOnly(h); }},
        Command{"binary-codes", [](CommandHost &h) { binaryCodes(h); }},
        Command{"sort-lines", [](CommandHost &h) { sortLines(h); }},
        Command{"sort-words", [](CommandHost &h) { sortWords(h); }},
        Command{"unique-lines", [](CommandHost &h) { uniqueLines(h); }},
        Command{"unique-words", [](CommandHost &h) { uniqueWords(h); }},
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
