// When Phrase Count refuses a text, and the UTF-8 rows a batch host writes.
#include "CommandError.h"
#include "LiteralFrequency.h"
#include "PhraseCount.h"
#include "PhraseTextGenerator.h"
#include "RecordingHost.h"
#include "RepeatingTextGenerator.h"
#include "basTextRepeat.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <random>

using namespace wordloom;
using wordloom::testing::RecordingHost;

namespace {

const QString kComma = QStringLiteral(",");

// The refusal message, or "" when the command ran to its end.
std::string refusal(const QString &text, std::size_t budget, qsizetype *resultUnits = nullptr)
{
    RecordingHost host(text);
    try {
        ops::phraseCount(host, kComma, budget);
    } catch (const CommandError &error) {
        return error.what();
    }
    if (resultUnits)
        *resultUnits = host.result.value_or(QString()).size();
    return {};
}

bool refusedForItsList(const std::string &message)
{
    return message.find("list of phrases would take more than") != std::string::npos;
}

// A refusal, for the size of the list, only when the list as UTF-16 is larger than the budget.
TEST(PhraseGuard, RefusesForTheListOnlyWhenItDoesNotFit)
{
    int refused = 0;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        wordloom::testing::PhraseTextGenerator generator(seed);
        const QString text = generator.text().repeated(generator.pick(1, 3));
        qsizetype units = 0;
        ASSERT_EQ(refusal(text, std::size_t(1) << 30, &units), "");
        const std::size_t bytes = 2 * std::size_t(units);
        const std::size_t budget = bytes * std::size_t(generator.pick(10, 300)) / 100;
        const std::string message = refusal(text, budget);
        if (refusedForItsList(message)) {
            ++refused;
            ASSERT_GT(bytes, budget) << "seed " << seed << ": " << message;
        } else {
            ASSERT_EQ(message, "") << "seed " << seed;
        }
        if (budget >= bytes) {
            ASSERT_EQ(message, "") << "seed " << seed;
        }
    }
    EXPECT_GT(refused, 20);
}

// Two of the texts that used to run for minutes, at full size: refused, saying how much.
TEST(PhraseGuard, TextsThatRepeatAtLengthAreRefusedQuickly)
{
    const QString hundredWords = [] {
        std::mt19937 rng(5);
        QString paragraph;
        for (int i = 0; i < 100; ++i)
            paragraph += QStringLiteral("w%1 ").arg(rng() % 5000);
        return paragraph;
    }();
    const QString texts[] = {QStringLiteral("hello world ").repeated(400000), hundredWords.repeated(1000)};
    for (const QString &text : texts) {
        QElapsedTimer timer;
        timer.start();
        const std::string message = refusal(text, basTextRepeat::kDefaultPhraseBudget);
        EXPECT_NE(message.find("too repetitive for Phrase Count"), std::string::npos) << message;
        EXPECT_NE(message.find_first_of("0123456789"), std::string::npos) << message;
        RecordProperty("milliseconds", int(timer.elapsed()));
    }
}

// Texts whose repeated stretches the walk would record by the tens of
// millions are refused before its first candidate, with figures.
TEST(PhraseGuard, LongRepeatsAreRefusedBeforeTheWalk)
{
    using wordloom::testing::RepeatingShape;
    const RepeatingShape shapes[] = {{RepeatingShape::RepeatedStretches, 1000, 0, 1000000, 3},
                                     {RepeatingShape::Periodic, 400, 3, 1000000, 4}};
    for (const RepeatingShape &shape : shapes) {
        RecordingHost host(wordloom::testing::RepeatingTextGenerator::text(shape));
        std::string message;
        try {
            ops::phraseCount(host, kComma);
        } catch (const CommandError &error) {
            message = error.what();
        }
        EXPECT_NE(message.find("too repetitive for Phrase Count"), std::string::npos) << shape.name() << ": " << message;
        EXPECT_NE(message.find_first_of("0123456789"), std::string::npos) << message;
        EXPECT_FALSE(host.posts.join(u'|').contains(QStringLiteral("Analyzing word"))) << shape.name();
    }
}

// The status texts in order, each once where it was posted several times in a row.
QStringList withoutRepeats(const QStringList &posts)
{
    QStringList out;
    for (const QString &post : posts)
        if (out.isEmpty() || out.back() != post)
            out.append(post);
    return out;
}

// Texts that repeat a passage of 1 to 1,000 words, whole or with a few words
// changed, and varied texts with repeated stretches: the same table and the
// same status texts as the literal walk where that is quick enough to run,
// and at larger sizes a walk bounded by a fixed number of steps per
// character, with no allowance beyond it (the literal walk's candidates grow
// with the square of the length on such texts: a 20 KB text of one word
// repeated would take some 11 million, four steps each).
TEST(PhraseGuard, RepeatingTextsMatchLiteralAndTakeBoundedWork)
{
    using wordloom::testing::RepeatingShape;
    using wordloom::testing::RepeatingTextGenerator;
    unsigned seed = 0;
    for (const auto kind : {RepeatingShape::Periodic, RepeatingShape::RepeatedStretches})
        for (const int period : {1, 2, 3, 5, 8, 21, 60, 150, 400, 1000})
            for (const int changes : {0, 3}) {
                if (kind == RepeatingShape::RepeatedStretches && (changes > 0 || period > 150))
                    continue;
                RepeatingShape shape{kind, period, changes, std::size_t(320 + 32 * (seed % 7)), ++seed};
                // The literal walk's record grows with the period times the
                // length, and each candidate searches it from the start.
                if (period <= 21) {
                    const QString small = RepeatingTextGenerator::text(shape);
                    RecordingHost real, literal;
                    wordloom::FrequencyTable realTable;
                    ASSERT_EQ(basTextRepeat::BuildPhraseFrequency(small, real, realTable), wordloom::Outcome::Ready) << shape.name();
                    const auto literalTable = reference::BuildPhraseFrequency(small, literal);
                    ASSERT_TRUE(literalTable) << shape.name();
                    ASSERT_EQ(realTable, *literalTable) << shape.name();
                    ASSERT_EQ(withoutRepeats(real.posts), withoutRepeats(literal.posts)) << shape.name();
                }
                // A long period has more distinct phrases to record, each counted.
                shape.bytes = period < 60 ? 20000 : 6000;
                const std::uint64_t stepsPerByte = period < 60 ? 1000 : 5000;
                RecordingHost large;
                try {
                    wordloom::FrequencyTable table;
                    basTextRepeat::BuildPhraseFrequency(RepeatingTextGenerator::text(shape), large, table,
                                                        basTextRepeat::kDefaultPhraseBudget,
                                                        basTextRepeat::RowOrder::PhraseThenCount, stepsPerByte * shape.bytes);
                } catch (const CommandError &error) {
                    // Only a list or a record beyond its memory, or a record
                    // too long to make, may stop it.
                    ASSERT_EQ(std::string(error.what()).find("counting steps"), std::string::npos)
                        << shape.name() << ": " << error.what();
                }
            }
}

TEST(PhraseGuard, Utf8RowsAreTheFormattedTableEncoded)
{
    std::mt19937 rng(21);
    const QString texts[] = {QStringLiteral("go on"), QString::fromUtf16(u"caf\u00e9 \u00fcber"),
                             QString::fromUtf16(u"\U0001F600 x"), QString(QChar(0xD800)) + QStringLiteral("ab"),
                             QStringLiteral("trailing  "), QString()};
    for (const QString &separator : {QStringLiteral(","), QString(QChar(0x00A0)), QString()}) {
        for (int round = 0; round < 53; ++round) {
            FrequencyTable table;
            // The last rounds fill several blocks, written in their order.
            const int rows = round < 50 ? int(rng() % 30) : 100000 + int(rng() % 50000);
            for (int i = 0; i < rows; ++i)
                table.push_back({texts[rng() % std::size(texts)].repeated(1 + rng() % 3),
                                 std::int64_t(rng() % 3 == 0 ? rng() : rng() % 2000)});
            RecordingHost host;
            ASSERT_EQ(ops::reportFrequencyTable(table, host, ops::ReportStyle{}, separator), wordloom::Outcome::Ready);
            const std::optional<QString> formatted = host.result;
            std::string written;
            int blocks = 0;
            ops::writeFrequencyTableUtf8(table, separator, "\r\n", [&](std::string_view block) {
                written += block;
                ++blocks;
            });
            ASSERT_TRUE(rows < 100000 || blocks >= 3) << blocks;
            QByteArray expected = formatted->toUtf8();
            expected.replace(QByteArray("\xEF\xBF\xBD"), QByteArray("?"));
            ASSERT_EQ(written, expected.toStdString());
        }
    }
}

} // namespace
