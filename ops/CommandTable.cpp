#include "CommandTable.h"

#include "CommandHandlers.h"

#include <algorithm>
#include <array>

namespace wordloom::ops {

namespace {
constexpr CommandTraits kPlain{};
constexpr CommandTraits kSortsLines{.readsCancel = true, .runsAsStep = true, .spills = true};
constexpr CommandTraits kSortsWords{.readsCancel = true, .runsAsStep = true, .streams = true, .spills = true};
constexpr CommandTraits kUniqueLines{.readsCancel = true, .runsAsStep = true, .spills = true, .unique = true};
constexpr CommandTraits kUniqueWords{.readsCancel = true, .streams = true, .spills = true, .unique = true};
constexpr CommandTraits kCountsWords{.readsCancel = true, .hasTable = true, .streams = true};
constexpr CommandTraits kCountsPhrases{.readsCancel = true, .hasTable = true};

void phraseCountWithItsBudget(CommandHost &host) { runPhraseCount(host); }

constexpr std::array kCommands = {
    Command{CommandId::ChangeCase, "change-case", "Change Case", "cmdCase", {240, 80},
            "lower case when the first ASCII letter is upper, else upper", kPlain,
            BeyondMemory::Whole, runChangeCase},
    Command{CommandId::CharactersOnly, "characters-only", "Characters Only", "cmdClean", {720, 120},
            "every character outside printable ASCII turned into a space", kPlain,
            BeyondMemory::Whole, runCharactersOnly},
    Command{CommandId::LettersOnly, "letters-only", "Letters Only", "cmdPurify", {1200, 130},
            "everything but A-Z, a-z and the space turned into a space", kPlain,
            BeyondMemory::Whole, runLettersOnly},
    Command{CommandId::BinaryCodes, "binary-codes", "Binary Codes", "cmdBinaryCodes", {4920, 70},
            "each character's code-page-1252 code in eight binary digits", kPlain,
            BeyondMemory::Whole, runBinaryCodes},
    Command{CommandId::SortLines, "sort-lines", "Sort Lines", "cmdSortLines", {2040, 10},
            "lines in binary order, tabs as spaces, leading spaces gone", kSortsLines,
            BeyondMemory::LinesInParts, runSortLines},
    Command{CommandId::SortWords, "sort-words", "Sort Words", "cmdSortWords", {2520, 20},
            "every word (run of A-Z, a-z), one a line, in binary order", kSortsWords,
            BeyondMemory::WordsInPieces, runSortWords},
    Command{CommandId::UniqueLines, "unique-lines", "Unique Lines", "cmdUniqueLines", {3000, 30},
            "each distinct non-empty line once, in binary order", kUniqueLines,
            BeyondMemory::LinesInParts, runUniqueLines},
    Command{CommandId::UniqueWords, "unique-words", "Unique Words", "cmdUniqueWords", {3480, 40},
            "each distinct word once, in binary order", kUniqueWords,
            BeyondMemory::WordsInPieces, runUniqueWords},
    Command{CommandId::WordCount, "word-count", "Word Count", "cmdWordCount", {3960, 50},
            "every word with the number of its occurrences, rarest first", kCountsWords,
            BeyondMemory::CountInPieces, runWordCount},
    Command{CommandId::PhraseCount, "phrase-count", "Phrase Count", "cmdPhraseCount", {4440, 60},
            "phrases of two or more words seen twice or more, with counts", kCountsPhrases,
            BeyondMemory::Whole, phraseCountWithItsBudget},
};

static_assert([] {
    for (std::size_t i = 0; i < kCommands.size(); ++i)
        if (std::size_t(kCommands[i].id) != i)
            return false;
    return true;
}(), "the table is in the order of the ids");
} // namespace

std::span<const Command> commandTable() { return kCommands; }

const Command &command(CommandId id) { return kCommands[std::size_t(id)]; }

const Command *findCommand(std::string_view name)
{
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [&](const Command &c) { return c.name == name; });
    return it == kCommands.end() ? nullptr : &*it;
}

} // namespace wordloom::ops
