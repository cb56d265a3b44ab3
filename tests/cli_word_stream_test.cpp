// The word commands a piece at a time: word-count always, sort-words and
// unique-words beyond --buffer-size (sorted runs in temporary files). Tiny
// pieces and buffers, given in the process below the CLI's least buffer, put
// piece ends everywhere a word gap allows and runs everywhere; the results
// and word-count's status texts must be those of the commands on the whole
// text.
#include "InputFiles.h"
#include "OutputFile.h"
#include "WordStream.h"
#include "cli_test_support.h"
#include "CommandHandlers.h"
#include "RecordingHost.h"
#include "TextGenerator.h"

#include <QTemporaryDir>

#include <cctype>
#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace cli_test;

// Generated texts as UTF-8, with CR LF and with LF line breaks (hyphen breaks
// included), a few of them joined so that they run to some kilobytes.
QList<QByteArray> generatedTexts()
{
    QList<QByteArray> texts = {"", "-\n", "a-\nb", "x-\r\n-\r\ny", "don't 42x caf\xC3\xA9-\n-",
                               "a--\r\n\r\nb-", "\xE2\x80\x99tis R2D2's"};
    wordloom::testing::TextGenerator generate(2026);
    for (int i = 0; i < 12; ++i) {
        QString text;
        for (int k = 0; k < 1 + i * 8; ++k)
            text += generate.text(60);
        const QByteArray bytes = text.toUtf8();
        texts << bytes << QByteArray(bytes).replace("\r\n", "\n");
    }
    return texts;
}

// A recording host that hands Word Count its text a piece at a time, as the
// CLI does.
class PieceHost : public wordloom::testing::RecordingHost {
public:
    explicit PieceHost(wordloom::cli::ChunkedInput &input) : input_(input) {}
    void readInputPieces(const std::function<void(QStringView)> &take) override
    {
        wordloom::cli::forEachTextPiece(input_, input_.next(), false, take);
    }

private:
    wordloom::cli::ChunkedInput &input_;
};

QByteArray lines(const QStringList &posts)
{
    return posts.isEmpty() ? QByteArray() : posts.join('\n').toUtf8() + '\n';
}

TEST(CliWordStream, WordCountInPiecesIsTheCommandOnTheWholeText)
{
    QTemporaryDir dir;
    for (const QByteArray &text : generatedTexts()) {
        const QString path = dir.filePath("text");
        writeFile(path, text);
        wordloom::testing::RecordingHost whole(wordloom::cli::decodeInput(text, false));
        wordloom::ops::runWordCount(whole);
        const QByteArray expected = whole.result->toUtf8().replace("\r\n", "\n");
        // Pieces of 1, 4 and 64 bytes, below what any buffer gives.
        for (const qsizetype size : {1, 4, 64}) {
            wordloom::cli::ChunkedInput input({path.toStdString()}, size, wordloom::cli::PieceEnd::WordGap);
            PieceHost pieces(input);
            wordloom::ops::runWordCount(pieces);
            EXPECT_EQ(pieces.result, whole.result) << size << " on " << text.constData();
            EXPECT_EQ(pieces.posts, whole.posts) << size;
        }
        // The least buffer (pieces of 4 KiB), and one beyond the text.
        for (const char *buffer : {"1b", "1G"}) {
            const CliRun run = runCli({"word-count", "--status", "-S", buffer, path});
            ASSERT_EQ(run.exitCode, 0) << run.err.constData();
            EXPECT_EQ(run.out, expected) << buffer << " on " << text.constData();
            EXPECT_EQ(run.err, lines(whole.posts)) << buffer;
        }
        const CliRun tsv = runCli({"word-count", "--format=tsv", "--status", path});
        const CliRun tsvPieces = runCli({"word-count", "--format=tsv", "--status", "-S1b", path});
        EXPECT_EQ(tsvPieces.out, tsv.out);
        EXPECT_EQ(tsvPieces.err, tsv.err);
    }
}

// The word commands' result in memory as the CLI writes it.
QByteArray listedInMemory(const QByteArray &text, bool unique, bool raw, bool crLfToLf)
{
    wordloom::testing::RecordingHost host(wordloom::cli::decodeInput(text, raw));
    unique ? wordloom::ops::runUniqueWords(host) : wordloom::ops::runSortWords(host);
    const QByteArray result = host.result.value_or(QString()).toUtf8();
    return crLfToLf ? QByteArray(result).replace("\r\n", "\n") : result;
}

TEST(CliWordStream, SortAndUniqueWordsBeyondTheBufferAreTheCommandsInMemory)
{
    QTemporaryDir dir, temporary;
    QByteArray all;
    for (const QByteArray &text : generatedTexts())
        all += text;
    QList<QByteArray> texts = generatedTexts();
    texts << all; // about 100 KB
    const QString path = dir.filePath("text"), out = dir.filePath("out");
    for (qsizetype t = 0; t < texts.size(); ++t) {
        const QByteArray &text = texts[t];
        writeFile(path, text);
        // The default; --raw and --crlf (how the text is read and written)
        // on the smaller texts, whose pieces are as many.
        const bool small = text.size() < 16384;
        using Mode = std::pair<bool, bool>; // raw, CR LF to LF
        std::vector<Mode> modes = small ? std::vector<Mode>{{false, true}, {true, false}, {false, false}}
                                        : std::vector<Mode>{{false, true}};
#ifdef WORDLOOM_SANITIZED
        // Runs upon runs of temporary files are slow under the sanitizers:
        // each smaller text in one of the modes, every mode over the texts.
        modes = {modes[std::size_t(t) % modes.size()]};
#endif
        for (const bool unique : {false, true}) {
            for (const auto &[raw, crLfToLf] : modes) {
                // A few distinct words to a run, merged three at a time: runs
                // upon runs, generations of merges on the larger texts.
                wordloom::cli::ExternalSortJob job;
                job.unique = unique;
                job.raw = raw;
                job.crLfToLf = crLfToLf;
                job.temporaryDirectory = temporary.path().toStdString();
                job.bufferBytes = small ? 512 : 4096;
                job.mergeWidth = 3;
                wordloom::cli::ChunkedInput input({path.toStdString()}, wordloom::cli::wordPieceBytes(job.bufferBytes),
                                                  wordloom::cli::PieceEnd::WordGap);
                wordloom::testing::RecordingHost status;
                {
                    wordloom::cli::OutputFile output(out.toStdString());
                    QByteArray first = input.next();
                    wordloom::cli::listWordsInPieces(input, std::move(first), job, status, output);
                    output.commit();
                }
                EXPECT_EQ(readFile(out), listedInMemory(text, unique, raw, crLfToLf))
                    << unique << raw << crLfToLf << " on " << text.left(200).constData();
                EXPECT_EQ(status.posts.back(), "Ready");
            }
        }
    }
    // The CLI raises a tiny buffer to its least, and still goes through parts.
    for (const char *command : {"sort-words", "unique-words"}) {
        const CliRun parts = runCli({command, "-S", "16b", "-T", temporary.path(), "--status", path});
        ASSERT_EQ(parts.exitCode, 0) << parts.err.constData();
        EXPECT_EQ(parts.out, listedInMemory(all, QByteArray(command) == "unique-words", false, true));
        EXPECT_TRUE(parts.err.contains("Sorting part 2...\n")) << parts.err.constData();
        EXPECT_TRUE(parts.err.endsWith("Merging...\nReady\n"));
    }
    EXPECT_TRUE(entriesOf(temporary.path()).isEmpty());
}

TEST(CliWordStream, PiecesEndBetweenWordsAndMakeUpTheText)
{
    QTemporaryDir dir;
    const QList<QByteArray> texts = generatedTexts();
    const std::vector<std::string> names = {dir.filePath("a").toStdString(),
                                            dir.filePath("b").toStdString()};
    writeFile(dir.filePath("a"), texts.back() + "exam-"); // the LF between files makes a hyphen break
    writeFile(dir.filePath("b"), "ple " + texts[texts.size() - 2]);
    const QByteArray whole = wordloom::cli::readInputFiles(names);
    for (const qsizetype size : {1, 7, 300}) {
        wordloom::cli::ChunkedInput input(names, size, wordloom::cli::PieceEnd::WordGap);
        QByteArray joined;
        while (!input.atEnd()) {
            const QByteArray piece = input.next();
            joined += piece;
            if (input.atEnd())
                break;
            const char last = piece.back();
            EXPECT_FALSE(QByteArrayView("-\r'").contains(last) || std::isalnum(static_cast<unsigned char>(last))
                         || last & 0x80) << size << " " << piece.constData();
            if (last == '\n') {
                EXPECT_FALSE(piece.endsWith("-\n") || piece.endsWith("-\r\n")) << piece.constData();
            }
        }
        EXPECT_EQ(joined, whole) << size;
    }
}

} // namespace
