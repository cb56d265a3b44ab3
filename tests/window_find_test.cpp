#include "PopupFixture.h"
#include "WindowParts.h"

using namespace wordloom::testing;

using wordloom::TextPane;
using wordloom::testing::PopupFixture;

namespace {

class Find : public PopupFixture {
protected:
    // Find through the pane's menu, answering the prompt with `answer`.
    void find(TextPane *pane, const QString &answer)
    {
        dialogs->answers.push_back(answer);
        rightClick(pane, menuItem(*window, "mnuTextPopupFind"));
    }
    // Where each Find of `answer` selects, as start positions: each Find
    // starts one past where the last match began.
    std::vector<int> findRepeatedly(TextPane *pane, const QString &answer, int times)
    {
        std::vector<int> starts;
        for (int i = 0; i < times; ++i) {
            find(pane, answer);
            EXPECT_EQ(pane->selText().size(), answer.size());
            starts.push_back(pane->selStart());
        }
        return starts;
    }
};

TEST_F(Find, StepsFromMatchToMatchAndWraps)
{
    rtbText(*window)->setText(QStringLiteral("abc abc"));
    EXPECT_EQ(findRepeatedly(rtbText(*window), QStringLiteral("abc"), 3), (std::vector<int>{0, 4, 0}));
    EXPECT_TRUE(std::none_of(dialogs->shown.begin(), dialogs->shown.end(),
                             [](const auto &s) { return s.kind == QStringLiteral("message"); }));
}

TEST_F(Find, FindsOverlappingOccurrencesInTurn)
{
    rtbText(*window)->setText(QStringLiteral("aaaa"));
    EXPECT_EQ(findRepeatedly(rtbText(*window), QStringLiteral("aa"), 4), (std::vector<int>{0, 1, 2, 0}));
}

TEST_F(Find, IgnoresLetterCase)
{
    rtbText(*window)->setText(QStringLiteral("xx abc ÄÖ"));
    find(rtbText(*window), QStringLiteral("ABC"));
    EXPECT_EQ(rtbText(*window)->selText(), QStringLiteral("abc"));
    find(rtbText(*window), QStringLiteral("äö"));
    EXPECT_EQ(rtbText(*window)->selStart(), 7);
    EXPECT_EQ(rtbText(*window)->selText(), QStringLiteral("ÄÖ"));
}

TEST_F(Find, AsksWithTheRememberedTextAsDefault)
{
    rtbText(*window)->setText(QStringLiteral("zebra"));
    find(rtbText(*window), QStringLiteral("ze"));
    find(rtbText(*window), QStringLiteral("bra"));
    ASSERT_EQ(dialogs->shown.size(), 2u);
    for (const auto &shown : dialogs->shown) {
        EXPECT_EQ(shown.kind, QStringLiteral("input"));
        EXPECT_EQ(shown.text, QStringLiteral("Enter the text to find"));
        EXPECT_EQ(shown.title, QStringLiteral("Wordloom Search"));
    }
    EXPECT_EQ(dialogs->shown[0].defaultAnswer, QString());
    EXPECT_EQ(dialogs->shown[1].defaultAnswer, QStringLiteral("ze"));
}

TEST_F(Find, ReportsATextThatDoesNotOccur)
{
    rtbText(*window)->setText(QStringLiteral("abc abc"));
    find(rtbText(*window), QStringLiteral("abc"));
    select(rtbText(*window), 1, 2);
    find(rtbText(*window), QStringLiteral("zebra"));
    ASSERT_EQ(dialogs->shown.size(), 3u);
    EXPECT_EQ(dialogs->shown[2].kind, QStringLiteral("message"));
    EXPECT_EQ(dialogs->shown[2].text, QStringLiteral("[zebra] was not found"));
    EXPECT_EQ(dialogs->shown[2].title, QStringLiteral("Mnemora Text Search"));
    EXPECT_EQ(rtbText(*window)->selStart(), 1);
    EXPECT_EQ(rtbText(*window)->selLength(), 2);
    // The text is remembered and the search starts over from the top.
    find(rtbText(*window), QStringLiteral("abc"));
    EXPECT_EQ(dialogs->shown.back().defaultAnswer, QStringLiteral("zebra"));
    EXPECT_EQ(rtbText(*window)->selStart(), 0);
}

TEST_F(Find, CancellingThePromptForgetsTheText)
{
    rtbText(*window)->setText(QStringLiteral("abc abc"));
    find(rtbText(*window), QStringLiteral("abc"));
    find(rtbText(*window), QString()); // cancelled, or confirmed empty
    EXPECT_EQ(rtbText(*window)->selStart(), 0);
    find(rtbText(*window), QStringLiteral("abc"));
    EXPECT_EQ(dialogs->shown.back().defaultAnswer, QString());
    EXPECT_EQ(rtbText(*window)->selStart(), 4) << "the position stays";
}

TEST_F(Find, ThePositionIsSharedByBothPanes)
{
    rtbText(*window)->setText(QString(57, u'.') + QStringLiteral("needle"));
    find(rtbText(*window), QStringLiteral("needle"));
    ASSERT_EQ(rtbText(*window)->selStart(), 57);

    // The result pane's search starts at 58: the match at 58 comes before the one at 20.
    rtbResult(*window)->setText(QString(20, u'-') + QStringLiteral("needle") + QString(32, u'-') +
                               QStringLiteral("needle"));
    find(rtbResult(*window), QStringLiteral("needle"));
    EXPECT_EQ(rtbResult(*window)->selStart(), 58);
    find(rtbResult(*window), QStringLiteral("needle"));
    EXPECT_EQ(rtbResult(*window)->selStart(), 20);
    EXPECT_EQ(rtbText(*window)->selStart(), 57) << "the input pane keeps its selection";

    // A pane shorter than the position wraps to its start.
    find(rtbText(*window), QStringLiteral("needle"));
    ASSERT_EQ(rtbText(*window)->selStart(), 57);
    rtbResult(*window)->setText(QStringLiteral("a needle"));
    find(rtbResult(*window), QStringLiteral("needle"));
    EXPECT_EQ(rtbResult(*window)->selStart(), 2);
}

TEST_F(Find, EditingThePaneKeepsThePosition)
{
    rtbText(*window)->setText(QStringLiteral("ab ab ab"));
    find(rtbText(*window), QStringLiteral("ab"));
    find(rtbText(*window), QStringLiteral("ab"));
    rtbText(*window)->setText(QStringLiteral("abababab"));
    find(rtbText(*window), QStringLiteral("ab"));
    EXPECT_EQ(rtbText(*window)->selStart(), 4);
}

TEST_F(Find, CountsAParagraphBreakAsOnePosition)
{
    rtbText(*window)->setText(QStringLiteral("one\r\ntwo\r\nthree"));
    find(rtbText(*window), QStringLiteral("THREE"));
    EXPECT_EQ(rtbText(*window)->selStart(), 8);
    EXPECT_EQ(rtbText(*window)->selText(), QStringLiteral("three"));
}

TEST(TextPaneFind, MatchesTheTextExactlyApartFromCase)
{
    TextPane pane;
    pane.setText(QStringLiteral("a\u00A0b a b"));
    EXPECT_EQ(pane.find(QStringLiteral("a b"), 0), 4) << "a space is not a no-break space";
    EXPECT_EQ(pane.find(QStringLiteral("A\u00A0B"), 0), 0);
    EXPECT_EQ(pane.find(QStringLiteral("b"), 7), -1);
    EXPECT_EQ(pane.find(QStringLiteral("b"), 100), -1);
    EXPECT_EQ(pane.find(QString(), 0), -1);
    EXPECT_EQ(pane.selText(), QStringLiteral("a\u00A0b"));
}

TEST(TextPaneFind, SeesEveryEdit)
{
    TextPane pane;
    pane.setText(QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(pane.find(QStringLiteral("two"), 0), 4);
    pane.setSelStart(0);
    pane.setSelText(QStringLiteral("zero\n"));
    EXPECT_EQ(pane.find(QStringLiteral("two"), 0), 9);
    EXPECT_EQ(pane.selText(), QStringLiteral("two"));
    pane.setText(QStringLiteral("two"));
    EXPECT_EQ(pane.find(QStringLiteral("two"), 0), 0);
    pane.setSelText(QStringLiteral("!"));
    EXPECT_EQ(pane.find(QStringLiteral("two"), 0), -1);
}

} // namespace
