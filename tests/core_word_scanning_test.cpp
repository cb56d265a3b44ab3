#include "BinaryOrder.h"
#include "basLibString.h"
#include "LiteralFrequency.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace basLibString;

TEST(KeepWordCharacters, ReducesToWordsAndSingleSpaces)
{
    const struct {
        const char16_t *in, *out;
    } rows[] = {
        {u"", u""},
        {u"...", u" "},
        {u"Don't stop -- now!\r\nGo.", u"Don't stop now Go "},
        {u"it's R2D2", u"it's R2D2"},
        {u"e-mail", u"e mail"},
        {u"CAF\u00C9", u"CAF "},
        {u"  a\t\tb  ", u" a b "},
        {u"x\U0001F600y", u"x y"},            // both halves of a surrogate pair
        {u"\u2019tis `quoted`", u" tis quoted "}, // typographic apostrophe is not a word character
    };
    for (const auto &row : rows)
        EXPECT_EQ(KeepWordCharacters(QString::fromUtf16(row.in)), QString::fromUtf16(row.out));
}

// The literal helpers are the yardstick of the differential tests: they
// must behave as the word scanner is meant to.
TEST(FindInArray, FirstBinaryMatchOrMinusOne)
{
    using wordloom::reference::FindInArray;
    EXPECT_EQ(FindInArray({""}, QStringLiteral("x")), -1);
    EXPECT_EQ(FindInArray({}, QStringLiteral("x")), -1);
    EXPECT_EQ(FindInArray({"a", "b", "a"}, QStringLiteral("a")), 0);
    EXPECT_EQ(FindInArray({"The", "the"}, QStringLiteral("the")), 1);
}

TEST(NextWord, ScansWordsAndReportsPositions)
{
    namespace basNextWord = wordloom::reference;
    EXPECT_EQ(basNextWord::NextWord(QStringLiteral("  alpha   beta ")), QString());
    EXPECT_EQ(basNextWord::NextWord({}), QStringLiteral("alpha"));
    EXPECT_EQ(basNextWord::NextWord({}), QStringLiteral("beta"));
    EXPECT_EQ(basNextWord::NextWord({}), QString());
    EXPECT_EQ(basNextWord::NextWord({}), QString());

    basNextWord::NextWord(QStringLiteral("alpha beta"));
    EXPECT_EQ(basNextWord::NextWordPosition(), 1);
    basNextWord::NextWord({});
    EXPECT_EQ(basNextWord::NextWordPosition(), 7);
    basNextWord::NextWord({});
    EXPECT_EQ(basNextWord::NextWordPosition(), 12);

    basNextWord::NextWord(QStringLiteral("   "));
    EXPECT_EQ(basNextWord::NextWord({}), QString());
}

TEST(CountOccurrences, ResumesOnTheLastCharacterOfAMatch)
{
    using wordloom::reference::CountOccurrences;
    EXPECT_EQ(CountOccurrences(" a b a b a ", " a b ", 1), 2);
    EXPECT_EQ(CountOccurrences(" x y x y ", " x y ", 1), 2);
    EXPECT_EQ(CountOccurrences(" x y x y ", " x y ", 5), 1);
    EXPECT_EQ(CountOccurrences(" x y x y ", " x y ", 6), 0);
    EXPECT_EQ(CountOccurrences(" x y x y ", " x y ", 50), 0);
    EXPECT_THROW(CountOccurrences(" x ", " x ", 0), std::logic_error);
}

TEST(BinaryOrder, ComparesRawCodeUnits)
{
    using wordloom::codeUnitsLess;
    // A surrogate (0xD83D) is below U+FFFF as a code unit, though the code point is above it.
    EXPECT_TRUE(codeUnitsLess(u"\U0001F600", u"\uFFFF"));
    EXPECT_TRUE(codeUnitsLess(u"Zebra", u"apple"));
    EXPECT_TRUE(codeUnitsLess(u"a", u"a "));
    EXPECT_FALSE(codeUnitsLess(u"a", u"a"));
}
