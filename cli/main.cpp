// wordloom-cli COMMAND [OPTION]... [FILE]...: runs one command on the files' text.
#include "BufferSize.h"
#include "CliErrors.h"
#include "CliHost.h"
#include "ExternalSort.h"
#include "InputFiles.h"
#include "Options.h"
#include "OutputFile.h"
#include "StandardStreams.h"
#include "TableFormats.h"
#include "TempFiles.h"
#include "WordStream.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <algorithm>
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

ExternalSortJob sortJob(const Options &options, std::size_t bufferBytes)
{
    ExternalSortJob job;
    job.unique = options.command->traits.unique;
    job.raw = options.raw;
    job.crLfToLf = !(options.raw || options.crlf);
    job.bufferBytes = bufferBytes;
    const char *tmpdir = std::getenv("TMPDIR");
    job.temporaryDirectory = !options.temporaryDirectory.empty() ? options.temporaryDirectory
                           : tmpdir && *tmpdir ? tmpdir : "/tmp";
    return job;
}

bool sortsLines(const Options &options)
{
    return options.command->beyondMemory == wordloom::ops::BeyondMemory::LinesInParts;
}

int sortExternally(const Options &options, ChunkedInput &input, QByteArray first,
                   std::size_t bufferBytes, OutputFile &output)
{
    CliHost status(QString(), options, nullptr);
    wordloom::cli::sortExternally(input, std::move(first), sortJob(options, bufferBytes), status, output);
    output.commit();
    return Ok;
}

bool listsWords(const Options &options)
{
    return options.command->beyondMemory == wordloom::ops::BeyondMemory::WordsInPieces;
}

int listWordsExternally(const Options &options, ChunkedInput &input, QByteArray first,
                        std::size_t bufferBytes, OutputFile &output)
{
    input.setChunkBytes(wordPieceBytes(bufferBytes));
    CliHost status(QString(), options, nullptr);
    listWordsInPieces(input, std::move(first), sortJob(options, bufferBytes), status, output);
    output.commit();
    return Ok;
}

int run(const Options &options)
{
    // The output is checked before the work; the input is read after, so an
    // output file may also be an input.
    OutputFile output(options.output);
    const std::size_t buffer = workingBufferSize(options.bufferSize);
    std::optional<ChunkedInput> pieces;
    QByteArray bytes;
    if (options.command->beyondMemory == wordloom::ops::BeyondMemory::CountInPieces) {
        pieces.emplace(options.files, wordPieceBytes(buffer), PieceEnd::WordGap);
        bytes = pieces->next();
    } else if (sortsLines(options)) {
        // Beyond the buffer, the lines are sorted in parts through temporary files.
        ChunkedInput input(options.files, externalSortChunkBytes(buffer),
                           options.raw ? PieceEnd::CrLf : PieceEnd::Lf);
        bytes = input.next();
        if (!input.atEnd())
            return sortExternally(options, input, std::move(bytes), buffer, output);
    } else if (listsWords(options)) {
        ChunkedInput input(options.files, wordListFirstPieceBytes(buffer), PieceEnd::WordGap);
        bytes = input.next();
        if (!input.atEnd())
            return listWordsExternally(options, input, std::move(bytes), buffer, output);
    } else {
        bytes = readInputFiles(options.files);
    }
    CliHost host(pieces ? QString() : decodeInput(bytes, options.raw), options, &output);
    if (pieces)
        host.readInputFrom(*pieces, std::move(bytes)); // only the table of distinct words is held
    bytes = QByteArray();
    const std::string name(options.command->name);
    std::optional<QString> result;
    try {
        result = runCommand(options, host);
    } catch (const IoError &) {
        throw; // a later piece of the input, or the output, failed
    } catch (const std::bad_alloc &) {
        return failWith((name + ": out of memory").c_str(), Failed);
    } catch (const std::exception &e) {
        return failWith((name + ": " + e.what()).c_str(), Failed);
    }
    if (!host.wroteResult() && options.format != TableFormat::Table) {
        // A frequency command with no rows leaves an empty text: an empty table.
        output.write(formatRows({}, options.format, options.raw || options.crlf ? u"\r\n" : u"\n"), false);
    }
    if (host.wroteResult() || options.format != TableFormat::Table) {
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
    reserveStandardDescriptors();
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
