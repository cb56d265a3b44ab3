#include "Options.h"

#include "BufferSize.h"
#include "CliErrors.h"

#include <string_view>

namespace wordloom::cli {

namespace {

TableFormat parseFormat(std::string_view name)
{
    if (name == "table") return TableFormat::Table;
    if (name == "tsv") return TableFormat::Tsv;
    if (name == "csv") return TableFormat::Csv;
    throw UsageError("invalid --format '" + std::string(name) + "' (table, tsv or csv)");
}

// Walks argv; an option's value comes after "=" or as the next argument.
class Parser {
public:
    Parser(int argc, const char *const *argv) : argc_(argc), argv_(argv) {}

    Arguments run()
    {
        Arguments parsed;
        bool operandsOnly = false;
        for (index_ = 1; index_ < argc_; ++index_) {
            const std::string_view arg = argv_[index_];
            if (operandsOnly || arg == "-" || !arg.starts_with('-')) {
                addOperand(parsed.options, arg);
            } else if (arg == "--") {
                operandsOnly = true;
            } else if (arg == "--help" || arg == "--version") {
                parsed.action = arg == "--help" ? Arguments::Action::Help
                                                : Arguments::Action::Version;
                return parsed;
            } else {
                addOption(parsed.options, arg);
            }
        }
        check(parsed.options);
        return parsed;
    }

private:
    void addOperand(Options &options, std::string_view arg)
    {
        if (options.command) {
            options.files.emplace_back(arg);
            return;
        }
        options.command = ops::findCommand(arg);
        if (!options.command)
            throw UsageError("unknown command '" + std::string(arg) + "'");
    }

    void addOption(Options &options, std::string_view arg)
    {
        if (arg == "--raw") options.raw = true;
        else if (arg == "--crlf") options.crlf = true;
        else if (arg == "--status") options.status = true;
        else if (arg.starts_with("-o") && arg.size() > 2) options.output = std::string(arg.substr(2));
        else if (arg == "-o" || isLong(arg, "--output")) options.output = value(arg, "--output");
        else if (isLong(arg, "--format")) options.format = parseFormat(value(arg, "--format"));
        else if (arg.starts_with("-S") && arg.size() > 2) options.bufferSize = parseBufferSize(arg.substr(2));
        else if (arg == "-S" || isLong(arg, "--buffer-size"))
            options.bufferSize = parseBufferSize(value(arg, "--buffer-size"));
        else if (arg.starts_with("-T") && arg.size() > 2) options.temporaryDirectory = arg.substr(2);
        else if (arg == "-T" || isLong(arg, "--temporary-directory"))
            options.temporaryDirectory = value(arg, "--temporary-directory");
        else throw UsageError("unknown option '" + std::string(arg) + "'");
    }

    static bool isLong(std::string_view arg, std::string_view name)
    {
        return arg == name || (arg.starts_with(name) && arg.size() > name.size()
                               && arg[name.size()] == '=');
    }

    std::string value(std::string_view arg, std::string_view name)
    {
        if (const auto equals = arg.find('='); equals != std::string_view::npos)
            return std::string(arg.substr(equals + 1));
        if (index_ + 1 >= argc_)
            throw UsageError("option '" + std::string(arg) + "' needs a value ("
                             + std::string(name) + "=...)");
        return argv_[++index_];
    }

    static void check(const Options &options)
    {
        if (!options.command)
            throw UsageError("missing command");
        const ops::CommandTraits &traits = options.command->traits;
        if (options.format != TableFormat::Table && !traits.hasTable)
            throw UsageError("--format applies to word-count and phrase-count only");
        if (options.bufferSize && !traits.spills && !traits.streams)
            throw UsageError("--buffer-size applies to sort-lines, unique-lines, sort-words, "
                             "unique-words and word-count only");
        if (!options.temporaryDirectory.empty() && !traits.spills)
            throw UsageError("--temporary-directory applies to sort-lines, unique-lines, "
                             "sort-words and unique-words only");
        if (options.output && options.output->empty())
            throw UsageError("the output file name is empty");
    }

    int argc_;
    const char *const *argv_;
    int index_ = 1;
};

} // namespace

Arguments parseArguments(int argc, const char *const *argv)
{
    return Parser(argc, argv).run();
}

} // namespace wordloom::cli
