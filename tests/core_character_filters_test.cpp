#include "basConversion.h"
#include "basLibLibrary.h"
#include "BinaryCodes.h"
#include "CharacterFilters.h"
#include "Literal.h"
#include "CommandRunChecks.h"
#include "TextCodec.h"
#include "TextGenerator.h"

#include <gtest/gtest.h>

using basLibLibrary::FilterText;
using wordloom::Outcome;
namespace reference = wordloom::reference;
namespace ops = wordloom::ops;
namespace wt = wordloom::testing;
using wordloom::testing::RecordingHost;
using wordloom::testing::TextGenerator;

namespace {

struct FilterRow {
    const char16_t *text;
    const char16_t *replacement;
    bool lettersOnly;
    const char16_t *expected;
};

const FilterRow kFilterRows[] = {
    {u"Tab\there", u" ", false, u"Tab here"},
    {u"a\r\nb", u" ", false, u"a  b"},
    {u"Don't stop, 2 times!", u" ", true, u"Don t stop    times "},
    {u"R2D2", u" ", true, u"R D "},
    {u"x = 42;", u" ", false, u"x = 42;"},
    {u"A", u" ", false, u"A"},
    {u"A", u" ", true, u"A"},
    {u"\u00E9", u" ", false, u" "},
    {u"\u00E9", u" ", true, u" "},
    {u"\u03A9", u" ", false, u"?"},      // outside code page 1252: its code is "?"
    {u"\u03A9", u" ", true, u" "},
    {u"\U0001F600", u" ", false, u"??"}, // each half of the pair is one character
    {u"\u20AC~\x7F", u" ", false, u" ~ "}, // the euro sign is 128 in 1252, DEL is 127
    {u"", u" ", false, u""},
    {u"a-b", u"", true, u"ab"},
    {u"a-b", u"<>", true, u"a<>b"},
    {u"--ab--", u"<=>", true, u"<=><=>ab<=><=>"}, // longer output than input
};

TEST(FilterText, CasesOfBothModesAndReplacements)
{
    for (const auto &row : kFilterRows) {
        const QString text = QString::fromUtf16(row.text);
        EXPECT_EQ(FilterText(text, QString::fromUtf16(row.replacement), row.lettersOnly),
                  QString::fromUtf16(row.expected))
            << wt::visible(text).toStdString();
    }
    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    EXPECT_EQ(FilterText(withNul, QStringLiteral(" "), false), QStringLiteral("a b"));
}

TEST(FilterText, MatchesTheGrowingBufferTranscriptionOnGeneratedTexts)
{
    TextGenerator generate(2201);
    const QStringList replacements = {"", " ", "<>", "[---]"};
    for (int i = 0; i < 3000; ++i) {
        const QString text = generate.text(40);
        const QString &replacement = replacements[i % replacements.size()];
        for (bool lettersOnly : {false, true}) {
            const QString got = FilterText(text, replacement, lettersOnly);
            ASSERT_EQ(got, reference::filterText(text, replacement, lettersOnly))
                << wt::visible(text).toStdString();
            if (replacement.size() == 1) {
                ASSERT_EQ(got.size(), text.size());
            }
        }
    }
}

TEST(CharacterFilters, HandlersPostTheirWordsProcessEventsAndNeverTestCancel)
{
    RecordingHost clean(QStringLiteral("a\tb"));
    clean.cancelAtPost = 1;
    ops::charactersOnly(clean);
    EXPECT_EQ(clean.posts, (QStringList{"Cleaning...", "Ready"}));
    EXPECT_EQ(clean.result, QStringLiteral("a b"));
    EXPECT_EQ(clean.eventPumps, 1);
    EXPECT_EQ(clean.cancelTests, 0);

    RecordingHost purify(QString{});
    ops::lettersOnly(purify);
    EXPECT_EQ(purify.posts, (QStringList{"Purifying...", "Ready"}));
    EXPECT_EQ(purify.result, QString()); // an empty input clears the result pane
}

TEST(BinaryCodes, EveryCodeOfTheCodePageIsItsEightDigits)
{
    EXPECT_EQ(reference::byteToBinary(0), "00000000");
    EXPECT_EQ(reference::byteToBinary(65), "01000001");
    EXPECT_EQ(reference::byteToBinary(255), "11111111");
    for (int code = 0; code < 256; ++code) {
        const QString character = wordloom::fromCodePage1252(QByteArray(1, char(code)));
        const QString expected = wordloom::ansiCode(character[0]) == code ? reference::byteToBinary(code)
                                                                         : reference::byteToBinary('?');
        ASSERT_EQ(basConversion::TextToBinaryCodes(character), expected + u' ') << code;
    }
}

TEST(BinaryCodes, ListsEveryCharacterIncludingLineBreaks)
{
    EXPECT_EQ(basConversion::TextToBinaryCodes("Hi"), "01001000 01101001 ");
    EXPECT_EQ(basConversion::TextToBinaryCodes("\r\n"), "00001101 00001010 ");
    EXPECT_EQ(basConversion::TextToBinaryCodes(QString(QChar(0xE9))), "11101001 ");
    EXPECT_EQ(basConversion::TextToBinaryCodes(QString(QChar(0x3A9))), "00111111 ");
    EXPECT_EQ(basConversion::TextToBinaryCodes(QString()), QString());
    TextGenerator generate(2301);
    for (int i = 0; i < 1000; ++i) {
        const QString text = generate.text(30);
        ASSERT_EQ(basConversion::TextToBinaryCodes(text), reference::textToBinaryCodes(text));
    }
    // Large texts are written in two halves at once, and in slices with a
    // pause for the window between them: odd lengths, every code.
    for (const qsizetype length : {qsizetype(1) << 18, (qsizetype(1) << 18) + 1, qsizetype(300001),
                                   (qsizetype(1) << 21) + 3}) {
        QString text(length, Qt::Uninitialized);
        for (qsizetype i = 0; i < length; ++i)
            text[i] = QChar(char16_t((i * 7919) % 0x2200));
        int pauses = 0;
        ASSERT_EQ(basConversion::TextToBinaryCodes(text, [&] { ++pauses; }), reference::textToBinaryCodes(text))
            << length;
        EXPECT_EQ(pauses, length > (qsizetype(1) << 20) ? 2 : 0) << length;
    }
}

TEST(BinaryCodes, HandlerPostsFormattingThenReady)
{
    RecordingHost host(QStringLiteral(" "));
    host.cancelAtPost = 1;
    ops::binaryCodes(host);
    EXPECT_EQ(host.posts, (QStringList{"Formatting...", "Ready"}));
    EXPECT_EQ(host.result, QStringLiteral("00100000 "));
    EXPECT_EQ(host.cancelTests, 0);
    EXPECT_EQ(host.eventPumps, 0);
}

} // namespace
