// wordloom-cli COMMAND [OPTION]... [FILE]...: runs one command on the files' text.
#include "BufferSize.h"
#include "CliErrors.h"
#include "CountRows.h"
#include "ExternalSort.h"
#include "InputFiles.h"
#include "Options.h"
#include "OutputFile.h"
#include "TableFormats.h"
#include "TempFiles.h"
#include "WordStream.h"

#include "lib/BatchHost.h"
#include "ops/WordCount.h"

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

class CliHost final : public wordloom::BatchHost {
public:
    CliHost(QString input, bool echoStatus) : BatchHost(std::move(input)), echoStatus_(echoStatus) {}

    void showStatus(const QString &text) override
    {
        if (echoStatus_) {
            const QByteArray line = text.toUtf8() + '\n';
            std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        }
    }
    void releaseInput() { setInputText(QString()); }

private:
    bool echoStatus_;
};

int failWith(const char *what, int code)
{
    std::fprintf(stderr, "wordloom-cli: %s\n", what);
    return code;
}

// The command's result, or nothing (Change Case on a text without letters).
std::optional<QString> runCommand(const Options &options, CliHost &host)
{
    if (options.format == TableFormat::Table) {
        options.command->run(host);
        host.releaseInput();
        return host.takeResult();
    }
    const wordloom::FrequencyTable rows = countRows(options.command->name, host);
    host.releaseInput();
    const bool keepCrLf = options.raw || options.crlf;
    return formatRows(rows, options.format, keepCrLf ? u"\r\n" : u"\n");
}

// Word Count a piece at a time: only its table of distinct words is held, and
// the steps and status texts are those of the command on the whole text.
std::optional<QString> countWords(const Options &options, ChunkedInput &input, QByteArray first,
                                  CliHost &host)
{
    if (options.format == TableFormat::Table) {
        host.beginOperation();
        wordloom::ops::wordCountReport(countWordsInPieces(input, std::move(first), options.raw, host), host);
        host.endOperation();
        return host.takeResult();
    }
    const wordloom::FrequencyTable rows =
        orderedWordRows(countWordsInPieces(input, std::move(first), options.raw, host), host);
    const bool keepCrLf = options.raw || options.crlf;
    return formatRows(rows, options.format, keepCrLf ? u"\r\n" : u"\n");
}

ExternalSortJob sortJob(const Options &options, std::size_t bufferBytes)
{
    ExternalSortJob job;
    job.unique = options.command->name == "unique-lines" || options.command->name == "unique-words";
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
    return options.command->name == "sort-lines" || options.command->name == "unique-lines";
}

int sortExternally(const Options &options, ChunkedInput &input, QByteArray first,
                   std::size_t bufferBytes, OutputFile &output)
{
    CliHost status(QString(), options.status);
    wordloom::cli::sortExternally(input, std::move(first), sortJob(options, bufferBytes), status, output);
    output.commit();
    return Ok;
}

bool listsWords(const Options &options)
{
    return options.command->name == "sort-words" || options.command->name == "unique-words";
}

int listWordsExternally(const Options &options, ChunkedInput &input, QByteArray first,
                        std::size_t bufferBytes, OutputFile &output)
{
    input.setChunkBytes(wordPieceBytes(bufferBytes));
    CliHost status(QString(), options.status);
    listWordsInPieces(input, std::move(first), sortJob(options, bufferBytes), status, output);
    output.commit();
    return Ok;
}

int run(const Options &options)
{
    // The output is checked before the work; the input is read after, so an
    // output file may also be an input.
    OutputFile output(options.output);
    const std::size_t buffer = options.bufferSize ? options.bufferSize : defaultBufferSize();
    std::optional<ChunkedInput> pieces;
    QByteArray bytes;
    if (options.command->name == "word-count") {
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
        // Sort Words in memory takes about seven times its text.
        ChunkedInput input(options.files, qsizetype(std::max<std::size_t>(buffer / 8, 1)),
                           PieceEnd::WordGap);
        bytes = input.next();
        if (!input.atEnd())
            return listWordsExternally(options, input, std::move(bytes), buffer, output);
    } else {
        bytes = readInputFiles(options.files);
    }
    CliHost host(pieces ? QString() : decodeInput(bytes, options.raw), options.status);
    if (!pieces)
        bytes = QByteArray();
    const std::string name(options.command->name);
    std::optional<QString> result;
    try {
        if (options.command->name == "sort-lines") {
            sortLinesToOutput(host, output, !(options.raw || options.crlf));
            output.commit();
            return Ok;
        }
        result = pieces ? countWords(options, *pieces, std::move(bytes), host) : runCommand(options, host);
    } catch (const IoError &) {
        throw; // a later piece of the input could not be read
    } catch (const std::bad_alloc &) {
        return failWith((name + ": out of memory").c_str(), Failed);
    } catch (const std::exception &e) {
        return failWith((name + ": " + e.what()).c_str(), Failed);
    }
    if (!result)
        return NoResult;
    const bool crLfToLf = !(options.raw || options.crlf) && options.format == TableFormat::Table;
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
