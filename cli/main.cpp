// wordloom-cli COMMAND [--raw] [--crlf] [--status]: runs one command on standard input.
#include "Utf8.h"

#include "ops/CommandError.h"
#include "ops/CommandHost.h"
#include "ops/CommandTable.h"
#include "lib/LargePages.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <sys/stat.h>
#include <iostream>
#include <iterator>
#include <new>
#include <optional>
#include <string>

namespace {

enum ExitCode { Ok = 0, Failed = 1, Usage = 2, NoResult = 3 };

class CliHost final : public wordloom::CommandHost {
public:
    CliHost(QString input, bool echoStatus) : input_(std::move(input)), echoStatus_(echoStatus) {}

    QString inputText() override { return input_; }
    void showStatus(const QString &text) override
    {
        if (echoStatus_) {
            const QByteArray line = text.toUtf8() + '\n';
            std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        }
    }
    bool cancelRequested() override { return false; }
    void processEvents() override {}
    void setWorkText(const QString &) override {}
    void setResultText(const QString &text) override { result_ = text; }

    const std::optional<QString> &result() const { return result_; }

private:
    QString input_;
    bool echoStatus_;
    std::optional<QString> result_;
};

int usage()
{
    std::string names;
    for (const auto &c : wordloom::ops::commandTable())
        names += "  " + std::string(c.name) + "\n";
    std::fprintf(stderr,
                 "usage: wordloom-cli COMMAND [--raw] [--crlf] [--status] < text\n"
                 "  --raw     convert no line breaks, in or out\n"
                 "  --crlf    keep CR LF line breaks in the result\n"
                 "  --status  write each status text to standard error\n"
                 "commands:\n%s",
                 names.c_str());
    return Usage;
}

QByteArray readAll(std::FILE *in)
{
    QByteArray data;
    struct stat info {};
    if (fstat(fileno(in), &info) == 0 && S_ISREG(info.st_mode)) {
        // A file is read straight into a buffer of its size.
        data.resize(qsizetype(info.st_size) + 1);
        wordloom::adviseLargePages(data.data(), size_t(data.size()));
        data.resize(qsizetype(std::fread(data.data(), 1, size_t(info.st_size), in)));
    }
    char buffer[1 << 16];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        data.append(buffer, qsizetype(got));
    return data;
}

// The input as the input pane would hold it; nothing when it is not UTF-8.
// The bytes are released before the command runs.
std::optional<QString> readInput(bool raw)
{
    QString input;
    {
        const QByteArray bytes = readAll(stdin);
        if (const auto bad = wordloom::cli::firstInvalidUtf8(bytes)) {
            std::fprintf(stderr, "wordloom-cli: input is not valid UTF-8 at byte offset %lld\n",
                         static_cast<long long>(*bad));
            return std::nullopt;
        }
        input = wordloom::cli::decodeUtf8(bytes, !raw);
    }
    return input;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    const auto *command = wordloom::ops::findCommand(argv[1]);
    if (!command)
        return usage();
    bool raw = false, crlf = false, status = false;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--raw") raw = true;
        else if (option == "--crlf") crlf = true;
        else if (option == "--status") status = true;
        else return usage();
    }

    try {
        std::optional<QString> input = readInput(raw);
        if (!input)
            return Failed;
        CliHost host(std::move(*input), status);
        input.reset();
        command->run(host);
        if (!host.result())
            return NoResult;
        return wordloom::cli::writeUtf8(stdout, *host.result(), !(raw || crlf)) ? Ok : Failed;
    } catch (const std::bad_alloc &) {
        std::fprintf(stderr, "wordloom-cli: %s: out of memory\n", argv[1]);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "wordloom-cli: %s: %s\n", argv[1], e.what());
    }
    return Failed;
}
