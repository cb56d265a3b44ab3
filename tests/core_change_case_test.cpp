#include "CaseConversion.h"
#include "ChangeCase.h"
#include "Literal.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <random>

using wordloom::ops::changeCase;
using wordloom::testing::RecordingHost;

namespace {

struct CaseRow {
    const char16_t *input;
    const char16_t *expected; // nullptr: no result
    const char *why;
};

const CaseRow kRows[] = {
    {u"Hello World", u"hello world", "first letter upper: all lower"},
    {u"hello World", u"HELLO WORLD", "first letter lower: all upper"},
    {u"  123 abc", u"  123 ABC", "leading spaces stay in the result"},
    {u"123 !?", nullptr, "no ASCII letter: no result"},
    {u"", nullptr, "empty text"},
    {u"   ", nullptr, "spaces only"},
    {u"\u00C9lan", u"\u00C9LAN", "non-ASCII letters do not decide the direction"},
    {u"\u00E9bc", u"\u00C9BC", "but they are converted"},
    {u"Ab\r\ncD", u"ab\r\ncd", "line breaks unchanged"},
    {u"\tx ", u"\tX ", "tabs are not trimmed and stay"},
    {u"stra\u00DFe", u"STRASSE", "full Unicode mapping may lengthen the text"},
};

TEST(ChangeCase, TableOfCases)
{
    for (const auto &row : kRows) {
        RecordingHost host(QString::fromUtf16(row.input));
        changeCase(host);
        const std::optional<QString> got = host.result;
        if (row.expected)
            EXPECT_EQ(got, QString::fromUtf16(row.expected)) << row.why;
        else
            EXPECT_FALSE(got.has_value()) << row.why;
    }
}

TEST(ChangeCase, PostsCasingThenReadyAndKeepsTrimmedTextInWorkPane)
{
    RecordingHost host(QStringLiteral("  Abc  "));
    host.cancelAtPost = 1; // never tests Cancel, so it must run to its end
    changeCase(host);
    EXPECT_EQ(host.posts, (QStringList{"Casing...", "Ready"}));
    EXPECT_EQ(host.work, QStringLiteral("Abc"));
    EXPECT_EQ(host.result, QStringLiteral("  abc  "));
    EXPECT_EQ(host.cancelTests, 0);
}

TEST(ChangeCase, WritesNoResultWithoutLetters)
{
    RecordingHost host(QStringLiteral("42"));
    changeCase(host);
    EXPECT_FALSE(host.result.has_value());
    EXPECT_EQ(host.posts.last(), QStringLiteral("Ready"));
}

} // namespace

// Unpaired surrogates are no characters: Change Case keeps them as they are,
// wherever they stand and whatever the conversion around them does (the
// lengthening of ß took the last ones with it).
TEST(ChangeCase, UnpairedSurrogatesStayAsTheyAre)
{
    const struct {
        const char16_t *input;
        const char16_t *expected;
        const char *shape;
    } rows[] = {
        {u"a\u00DF\xDADA\xDADA\xDADA\xDA00", u"ASS\xDADA\xDADA\xDADA\xDA00", "lone highs at the end after a lengthening"},
        {u"ab\xDADA", u"AB\xDADA", "lone high at the end"},
        {u"a\xDC00" u"b", u"A\xDC00" u"B", "lone low in the middle"},
        {u"\xDC00" u"ab", u"\xDC00" u"AB", "lone low at the start"},
        {u"a\xDC00\xD800" u"b", u"A\xDC00\xD800" u"B", "reversed pair"},
        {u"a\xD800" u"b\u00E9", u"A\xD800" u"B\u00C9", "lone high in the middle"},
        {u"A\xD801\xDC00\xD801" u"b", u"a\xD801\xDC28\xD801" u"b", "a real pair converted beside a lone high"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.shape);
        const QString input = QString::fromUtf16(row.input);
        RecordingHost host(input);
        changeCase(host);
        EXPECT_EQ(host.result, QString::fromUtf16(row.expected));
        EXPECT_EQ(wordloom::upperCase(input), wordloom::reference::upperCaseText(input));
        EXPECT_EQ(wordloom::lowerCase(input), wordloom::reference::lowerCaseText(input));
    }
}

// The plain loops for ASCII text against the mapping a character at a time:
// every ASCII unit, and texts with and without characters beyond ASCII.
TEST(ChangeCase, CaseConversionMatchesQt)
{
    QString ascii;
    for (char16_t u = 0; u < 0x80; ++u)
        ascii += QChar(u);
    std::mt19937 random(3);
    const char16_t beyond[] = {0xE9, 0xC9, 0x130, 0x131, 0xDF, 0x3A3, 0x2126, 0xD83D};
    for (int round = 0; round < 2000; ++round) {
        QString text;
        for (int i = int(random() % 40); i > 0; --i)
            text += ascii[qsizetype(random() % 0x80)];
        if (round % 3 == 0)
            text.insert(qsizetype(random() % (text.size() + 1)), QChar(beyond[random() % 8]));
        ASSERT_EQ(wordloom::lowerCase(text), wordloom::reference::lowerCaseText(text));
        ASSERT_EQ(wordloom::upperCase(text), wordloom::reference::upperCaseText(text));
    }
    EXPECT_EQ(wordloom::lowerCase(ascii), ascii.toLower());
    EXPECT_EQ(wordloom::upperCase(ascii), ascii.toUpper());
}
