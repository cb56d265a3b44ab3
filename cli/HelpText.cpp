#include "Options.h"

#include <string_view>

namespace wordloom::cli {

std::string helpText()
{
    std::string text =
        "Usage: wordloom-cli COMMAND [OPTION]... [FILE]...\n"
        "Run one Wordloom command on the FILEs, read in turn as one text, and write\n"
        "the result to standard output. With no FILE, or when FILE is -, read\n"
        "standard input. Input is UTF-8.\n"
        "\nCommands:\n";
    for (const auto &command : ops::commandTable()) {
        std::string name(command.name);
        name.resize(17, ' ');
        text += "  " + name + std::string(command.summary) + "\n";
    }
    text +=
        "\nOptions:\n"
        "  -o, --output=FILE  write the result to FILE once it is complete; FILE may\n"
        "                     also be an input, - is standard output\n"
        "      --format=FMT   word-count and phrase-count: table (default, padded\n"
        "                     columns), tsv (text TAB count) or csv (RFC 4180)\n"
        "  -S, --buffer-size=SIZE\n"
        "                     sort-lines, unique-lines, sort-words, unique-words\n"
        "                     and word-count: working memory, as for sort -S\n"
        "                     (suffix b, K (default), M, G, T; at least 256K;\n"
        "                     default a quarter of physical memory or of the\n"
        "                     ulimit -v or -d); a larger text is sorted in\n"
        "                     parts through temporary files (word-count keeps\n"
        "                     only its table of distinct words)\n"
        "  -T, --temporary-directory=DIR\n"
        "                     where those go (default $TMPDIR, else /tmp); they\n"
        "                     have no name and vanish with the process\n"
        "      --raw          convert no line breaks, in or out\n"
        "      --crlf         keep CR LF line breaks in the result\n"
        "      --status       write each status text to standard error\n"
        "      --help         show this help and exit\n"
        "      --version      show the version and exit\n"
        "\nExit status: 0 a result; 1 a file that cannot be read or written, input\n"
        "that is not UTF-8, or a command that failed; 2 a wrong command line;\n"
        "3 no result (change-case on a text without letters).\n";
    return text;
}

} // namespace wordloom::cli
