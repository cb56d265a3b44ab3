// The word commands a piece at a time: word-count always, sort-words and
// unique-words beyond --buffer-size (sorted runs in temporary files). Tiny
// buffers put piece ends everywhere a word gap allows; the results and
// word-count's status texts must be those of the commands on the whole text.
#include "InputFiles.h"
#include "cli_test_support.h"
#include "CommandHandlers.h"
#include "RecordingHost.h"
#include "TextGenerator.h"

#include <QTemporaryDir>

#include <cctype>

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
        // Pieces of 1, 4 and 64 bytes; then whole.
        for (const char *buffer : {"16b", "64b", "1K", "1G"}) {
            const CliRun run = runCli({"word-count", "--status", "-S", buffer, path});
            ASSERT_EQ(run.exitCode, 0) << run.err.constData();
            EXPECT_EQ(run.out, expected) << buffer << " on " << text.constData();
            EXPECT_EQ(run.err, lines(whole.posts)) << buffer;
        }
        const CliRun tsv = runCli({"word-count", "--format=tsv", "--status", path});
        const CliRun tsvPieces = runCli({"word-count", "--format=tsv", "--status", "-S16b", path});
        EXPECT_EQ(tsvPieces.out, tsv.out);
        EXPECT_EQ(tsvPieces.err, tsv.err);
    }
}

TEST(CliWordStream, SortAndUniqueWordsBeyondTheBufferAreTheCommandsInMemory)
{
    QTemporaryDir dir, temporary;
    QByteArray all;
    for (const QByteArray &text : generatedTexts())
        all += text;
    QList<QByteArray> texts = generatedTexts();
    texts << all; // about 100 KB: runs beyond the merge width, merged as they come
    for (const QByteArray &text : texts) {
        const QString path = dir.filePath("text");
        writeFile(path, text);
        for (const char *command : {"sort-words", "unique-words"}) {
            for (const QStringList &mode : {QStringList(), QStringList{"--raw"}, QStringList{"--crlf"}}) {
                const CliRun memory = runCli(QStringList{command, path} + mode);
                for (const char *buffer : {"16b", "4K"}) {
                    const CliRun parts = runCli(QStringList{command, "-S", buffer, "-T", temporary.path(),
                                                            "--status", path} + mode);
                    ASSERT_EQ(parts.exitCode, 0) << parts.err.constData();
                    EXPECT_EQ(parts.out, memory.out) << command << " -S " << buffer << " "
                                                     << mode.join(' ').toStdString() << " on "
                                                     << text.left(200).constData();
                    EXPECT_TRUE(parts.err.endsWith("Ready\n"));
                }
            }
        }
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
