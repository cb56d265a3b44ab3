// wordloom-cli COMMAND [OPTION]... [FILE]...: runs one command on the files' text.
#include "BufferSize.h"
#include "CliErrors.h"
#include "CliHost.h"
#include "ExternalSort.h"
#include "InputFiles.h"
#include "Options.h"
#include "OutputFile.h"
#include "TableFormats.h"
#include "TempFiles.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <cstdlib>
#include <new>
#include <optional>
#include <string>

#ifndef WORDLOOM_CLI_VERSION
#define WORDLOOM_CLI_VERSION "unknown"
#endif

namespace {

using namespace wordloom::cli;

enum ExitCode { Ok = 0, Failed = 1, Usage = 2, NoResult = 3 };

int failWith(const char *what, int code)
{
    std::fprintf(stderr, "wordloom-cli: %s\n", what);
    return code;
}

// The command's result, or nothing (Change Case on a text without letters,
// or a table the host wrote to the output already).
std::optional<QString> runCommand(const Options &options, CliHost &host)
{
    options.command->run(host);
    host.releaseInput();
    return host.takeResult();
}

bool sortsLines(const Options &options)
{
    return options.command->name == "sort-lines" || options.command->name == "unique-lines";
}

int sortExternally(const Options &options, ChunkedInput &input, QByteArray first,
                   std::size_t bufferBytes, OutputFile &output)
{
    ExternalSortJob job;
    job.unique = options.command->name == "unique-lines";
    job.raw = options.raw;
    job.crLfToLf = !(options.raw || options.crlf);
    job.bufferBytes = bufferBytes;
    const char *tmpdir = std::getenv("TMPDIR");
    job.temporaryDirectory = !options.temporaryDirectory.empty() ? options.temporaryDirectory
                           : tmpdir && *tmpdir ? tmpdir : "/tmp";
    CliHost status(QString(), options, nullptr);
    wordloom::cli::sortExternally(input, std::move(first), job, status, output);
    output.commit();
    return Ok;
}

int run(const Options &options)
{
    // The output is checked before the work; the input is read after, so an
    // output file may also be an input.
    OutputFile output(options.output);
    QByteArray bytes;
    if (sortsLines(options)) {
        // Beyond the buffer, the lines are sorted in parts through temporary files.
        const std::size_t buffer = options.bufferSize ? options.bufferSize : defaultBufferSize();
        ChunkedInput input(options.files, externalSortChunkBytes(buffer), options.raw);
        bytes = input.next();
        if (!input.atEnd())
            return sortExternally(options, input, std::move(bytes), buffer, output);
    } else {
        bytes = readInputFiles(options.files);
    }
    CliHost host(decodeInput(bytes, options.raw), options, &output);
    bytes = QByteArray();
    const std::string name(options.command->name);
    std::optional<QString> result;
    try {
        result = runCommand(options, host);
    } catch (const IoError &) {
        throw;
    } catch (const std::bad_alloc &) {
        return failWith((name + ": out of memory").c_str(), Failed);
    } catch (const std::exception &e) {
        return failWith((name + ": " + e.what()).c_str(), Failed);
    }
    if (!host.wroteTable() && options.format != TableFormat::Table) {
        // A frequency command with no rows leaves an empty text: an empty table.
        output.write(formatRows({}, options.format, options.raw || options.crlf ? u"\r\n" : u"\n"), false);
    }
    if (host.wroteTable() || options.format != TableFormat::Table) {
        output.commit();
        return Ok;
    }
    if (!result)
        return NoResult;
    const bool crLfToLf = !(options.raw || options.crlf);
    output.write(*result, crLfToLf);
    output.commit();
    return Ok;
}

int printText(const std::string &text)
{
    OutputFile output(std::nullopt);
    output.write(QByteArrayView(text.data(), qsizetype(text.size())));
    output.commit();
    return Ok;
}

} // namespace

int main(int argc, char **argv)
{
#if defined(__GLIBC__)
    // Text-sized buffers come and go whole. glibc would raise its mmap
    // threshold when the first is freed and keep the later ones in the heap,
    // adding half again to the peak memory of a sort.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
    installTempFileCleanup();
    try {
        const Arguments arguments = parseArguments(argc, argv);
        switch (arguments.action) {
        case Arguments::Action::Help: return printText(helpText());
        case Arguments::Action::Version: return printText("wordloom-cli " WORDLOOM_CLI_VERSION "\n");
        case Arguments::Action::Run: return run(arguments.options);
        }
    } catch (const UsageError &e) {
        std::fprintf(stderr, "wordloom-cli: %s (try 'wordloom-cli --help')\n", e.what());
        return Usage;
    } catch (const IoError &e) {
        return failWith(e.what(), Failed);
    } catch (const std::bad_alloc &) {
        return failWith("out of memory", Failed);
    } catch (const std::exception &e) {
        return failWith(e.what(), Failed);
    }
    return Failed;
}
