// Phrase Count of standard input written to standard output as wordloom-cli
// writes its table (UTF-8, LF line ends), but row by row through
// phraseCountTable and writeFrequencyTableUtf8 instead of the padded UTF-16
// text: the time and memory the CLI would have with that change.
//   frequency_stream < text > table
#include "BatchHost.h"
#include "CommandError.h"
#include "PhraseCount.h"

#include <QString>

#include <cstdio>
#include <string>

int main()
{
    std::string bytes;
    char chunk[1 << 16];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;)
        bytes.append(chunk, got);
    QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    wordloom::BatchHost host(std::move(text));
    try {
        wordloom::FrequencyTable table;
        const wordloom::Outcome outcome = wordloom::ops::phraseCountTable(host, table);
        host.setInputText(QString());
        if (outcome == wordloom::Outcome::Ready)
            wordloom::ops::writeFrequencyTableUtf8(table, QStringLiteral(","), "\n", [](std::string_view block) {
                std::fwrite(block.data(), 1, block.size(), stdout);
            });
    } catch (const wordloom::CommandError &error) {
        std::fprintf(stderr, "frequency_stream: %s\n", error.what());
        return 1;
    }
    return 0;
}
