#pragma once

#include "CommandTable.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace wordloom::cli {

enum class TableFormat { Table, Tsv, Csv };

// What the command line asks for: COMMAND [OPTION]... [FILE]...
struct Options {
    const ops::Command *command = nullptr;
    std::vector<std::string> files; // none: standard input; "-" is standard input too
    std::optional<std::string> output;
    TableFormat format = TableFormat::Table;
    std::size_t bufferSize = 0;     // the sorting and word commands; 0: the default
    std::string temporaryDirectory; // empty: $TMPDIR, else /tmp
    bool raw = false;
    bool crlf = false;
    bool status = false;
};

struct Arguments {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    Options options;
};

// Options may stand anywhere among the operands until "--"; the first operand
// is the command. --help and --version end the parsing where they stand.
// Throws UsageError.
Arguments parseArguments(int argc, const char *const *argv);

// The text of --help.
std::string helpText();

} // namespace wordloom::cli
