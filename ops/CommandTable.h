#pragma once

#include "CommandHost.h"

#include <cstdint>
#include <span>
#include <string_view>

// One description per command: everything the window, the batch companion,
// its help, its completion and its manual page know of a command comes from
// here (or is checked against it by a test).
namespace wordloom::ops {

enum class CommandId : std::uint8_t {
    ChangeCase, CharactersOnly, LettersOnly, BinaryCodes, SortLines,
    SortWords, UniqueLines, UniqueWords, WordCount, PhraseCount,
};

// How the batch companion takes a text larger than its buffer.
enum class BeyondMemory : std::uint8_t {
    Whole,          // read whole
    LinesInParts,   // lines sorted in parts through temporary files, merged
    WordsInPieces,  // distinct words with counts, spilled as sorted runs
    CountInPieces,  // always read a piece at a time into the table of distinct words
};

struct CommandTraits {
    bool readsCancel = false; // tests Cancel while it runs
    bool runsAsStep = false;  // another command runs it as a nested step
    bool hasTable = false;    // the result is a frequency table (--format)
    bool streams = false;     // takes its text a piece at a time (--buffer-size)
    bool spills = false;      // sorted parts in temporary files (--buffer-size, -T)
    bool unique = false;      // keeps each distinct line or word once
};

// Where the window shows a command's button. The buttons stand in one column,
// Cancel and Exit below the last of them; Tab reaches the window's controls
// in the order of their stops: the input pane 0, Exit 90, the result pane
// 100, Cancel 110, each command's button at its own.
struct ButtonPlace {
    double top;  // twips from the top of the window's client area, as designed
    int tabStop;
};

struct Command {
    CommandId id;
    std::string_view name;    // the batch companion's command word
    std::string_view caption; // the window's button caption, and the name in failure messages
    std::string_view button;  // the window's button
    ButtonPlace place;
    std::string_view summary; // the line of --help
    CommandTraits traits;
    BeyondMemory beyondMemory;
    // The handler the window's button and the batch companion both run.
    void (*run)(CommandHost &);
};

// In the order of --help and the manual page.
std::span<const Command> commandTable();
const Command &command(CommandId id);
const Command *findCommand(std::string_view name);

} // namespace wordloom::ops
