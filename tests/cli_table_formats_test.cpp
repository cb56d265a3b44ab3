// --format=tsv and --format=csv: the same rows as the padded table, read back
// by Python's csv module.
#include "TableFormats.h"
#include "cli_test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace cli_test;
using wordloom::FrequencyRow;
using wordloom::FrequencyTable;
using wordloom::cli::TableFormat;

// The rows of the window's layout: text, two or more spaces, grouped count.
FrequencyTable rowsOfPaddedTable(const QByteArray &table)
{
    static const QRegularExpression line(QStringLiteral("^(.*?) {2,}([^ ]+)$"));
    FrequencyTable rows;
    for (const QString &text : QString::fromUtf8(table).split(u'\n', Qt::SkipEmptyParts)) {
        const auto match = line.match(text);
        EXPECT_TRUE(match.hasMatch()) << text.toStdString();
        QString digits = match.captured(2);
        digits.remove(QRegularExpression(QStringLiteral("[^0-9]")));
        rows.push_back({match.captured(1), digits.toLongLong()});
    }
    return rows;
}

FrequencyTable rowsOfTsv(const QByteArray &tsv)
{
    FrequencyTable rows;
    for (const QString &text : QString::fromUtf8(tsv).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = text.split(u'\t');
        EXPECT_EQ(fields.size(), 2) << text.toStdString();
        rows.push_back({fields.value(0), fields.value(1).toLongLong()});
    }
    return rows;
}

// Records as Python's csv module reads them.
QList<QStringList> readByPythonCsv(const QByteArray &csv)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {"-c", "import csv, io, json, sys\n"
                        "text = io.TextIOWrapper(sys.stdin.buffer, encoding='utf-8', newline='')\n"
                        "print(json.dumps(list(csv.reader(text, strict=True))))"});
    python.write(csv);
    python.closeWriteChannel();
    EXPECT_TRUE(wordloom::testing::waitForExit(python)) << "python3 did not finish";
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().constData();
    QList<QStringList> records;
    for (const auto record : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
        records.append(record.toVariant().toStringList());
    return records;
}

QList<QStringList> asRecords(const FrequencyTable &rows)
{
    QList<QStringList> records = {{"text", "count"}};
    for (const FrequencyRow &row : rows)
        records.append({row.text, QString::number(row.count)});
    return records;
}

// Words from a small vocabulary, so counts pass a thousand and phrases repeat.
QByteArray generatedText(unsigned seed, int words)
{
    static const char *vocabulary[] = {"the", "The", "cat", "sat", "on", "mat", "don't",
                                       "R2D2", "blue-\nberry", "pie.", "\xC3\xA9t\xC3\xA9"};
    std::mt19937 random(seed);
    QByteArray text;
    for (int i = 0; i < words; ++i) {
        text += vocabulary[random() % std::size(vocabulary)];
        text += random() % 9 == 0 ? "\n" : " ";
    }
    return text;
}

TEST(CliTableFormats, TsvAndCsvHoldTheRowsOfTheTable)
{
    for (const char *command : {"word-count", "phrase-count"}) {
        const bool words = std::string_view(command) == "word-count";
        const QByteArray text = generatedText(7, words ? 12000 : 600);
        const FrequencyTable table = rowsOfPaddedTable(runCli({command}, text).out);
        ASSERT_GT(table.size(), 3u) << command;
        if (words) {
            EXPECT_GT(table.back().count, 999) << "a grouped count is among them";
        }
        const CliRun tsv = runCli({command, "--format=tsv"}, text);
        EXPECT_EQ(tsv.exitCode, 0);
        EXPECT_EQ(rowsOfTsv(tsv.out), table) << command;
        const CliRun csv = runCli({command, "--format", "csv"}, text);
        EXPECT_EQ(readByPythonCsv(csv.out), asRecords(table)) << command;
        // Tables go straight to the output, after the same steps in every format.
        const QByteArray statuses = runCli({command, "--status"}, text).err;
        EXPECT_TRUE(statuses.endsWith(words ? "Sizing\nFormatting results\nReady\n" : "Sizing...\nFormatting...\nReady\n"))
            << statuses.constData();
        EXPECT_EQ(runCli({command, "--status", "--format=csv"}, text).err, statuses) << command;
    }
}

TEST(CliTableFormats, LineEndsAndEmptyTables)
{
    EXPECT_EQ(runCli({"word-count", "--format=tsv"}, "b a b").out, QByteArray("a\t1\nb\t2\n"));
    EXPECT_EQ(runCli({"word-count", "--format=csv", "--crlf"}, "b a b").out,
              QByteArray("text,count\r\na,1\r\nb,2\r\n"));
    // No word: the table's one row with the empty word.
    EXPECT_EQ(runCli({"word-count", "--format=csv"}, "...").out, QByteArray("text,count\n,1\n"));
    // No repeated phrase: no rows at all.
    EXPECT_EQ(runCli({"phrase-count", "--format=csv"}, "one two").out, QByteArray("text,count\n"));
    EXPECT_EQ(runCli({"phrase-count", "--format=tsv"}, "one two").out, QByteArray());
}

TEST(CliTableFormats, AnyTextSurvivesTheRoundTrip)
{
    // Texts the commands cannot produce today but a later change might.
    const FrequencyTable rows = {{"", 1},           {"plain", 2},      {"a,b", 3},
                                 {"say \"hi\"", 4}, {"\"", 5},         {"two\r\nlines", 6},
                                 {"lone\rcr", 7},   {"tab\there", 8},  {"back\\slash\\t", 9},
                                 {" edges ", 10},   {"\u00e9t\u00e9 \u20ac", 12345678901}};
    const QString csv = wordloom::cli::formatRows(rows, TableFormat::Csv, u"\r\n");
    EXPECT_EQ(readByPythonCsv(csv.toUtf8()), asRecords(rows));

    const QString tsv = wordloom::cli::formatRows(rows, TableFormat::Tsv, u"\n");
    QStringList lines = tsv.split(u'\n');
    ASSERT_EQ(lines.takeLast(), QString());
    ASSERT_EQ(lines.size(), qsizetype(rows.size())) << "one line per row";
    static const QRegularExpression escape(QStringLiteral(R"(\\(.))"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(u'\t');
        ASSERT_EQ(fields.size(), 2) << lines[i].toStdString();
        QString text;
        for (qsizetype k = 0; k < fields[0].size(); ++k) {
            const QChar c = fields[0][k];
            if (c != u'\\') {
                text += c;
                continue;
            }
            const QChar next = fields[0][++k];
            text += next == u't' ? QChar(u'\t') : next == u'r' ? QChar(u'\r')
                  : next == u'n' ? QChar(u'\n') : next;
        }
        EXPECT_EQ(text, rows[size_t(i)].text);
        EXPECT_EQ(fields[1].toLongLong(), rows[size_t(i)].count);
    }
}

} // namespace
