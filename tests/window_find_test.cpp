#include "support/PopupFixture.h"

using wordloom::TextPane;
using wordloom::testing::PopupFixture;

namespace {

class Find : public PopupFixture {
protected:
    // Find through the pane's menu, answering the prompt with `answer`.
    void find(TextPane *pane, const QString &answer)
    {
        dialogs->answers.push_back(answer);
        rightClick(pane, window->mnuTextPopupFind);
    }
    // Where each Find of `answer` selects, as start positions.
    std::vector<int> findRepeatedly(TextPane *pane, const QString &answer, int times)
    {
        std::vector<int> starts;
        for (int i = 0; i < times; ++i) {
            find(pane, answer);
            EXPECT_EQ(pane->selText().size(), answer.size());
            starts.push_back(pane->selStart());
            EXPECT_EQ(window->SearchPosition, starts.back());
        }
        return starts;
    }
};

TEST_F(Find, StepsFromMatchToMatchAndWraps)
{
    window->rtbText->setText(QStringLiteral("abc abc"));
    EXPECT_EQ(findRepeatedly(window->rtbText, QStringLiteral("abc"), 3), (std::vector<int>{0, 4, 0}));
    EXPECT_TRUE(std::none_of(dialogs->shown.begin(), dialogs->shown.end(),
                             [](const auto &s) { return s.kind == QStringLiteral("message"); }));
}

TEST_F(Find, FindsOverlappingOccurrencesInTurn)
{
    window->rtbText->setText(QStringLiteral("aaaa"));
    EXPECT_EQ(findRepeatedly(window->rtbText, QStringLiteral("aa"), 4), (std::vector<int>{0, 1, 2, 0}));
}

TEST_F(Find, IgnoresLetterCase)
{
    window->rtbText->setText(QStringLiteral("xx abc ÄÖ"));
    find(window->rtbText, QStringLiteral("ABC"));
    EXPECT_EQ(window->rtbText->selText(), QStringLiteral("abc"));
    find(window->rtbText, QStringLiteral("äö"));
    EXPECT_EQ(window->SearchPosition, 7);
}

TEST_F(Find, AsksWithTheRememberedTextAsDefault)
{
    window->rtbText->setText(QStringLiteral("zebra"));
    find(window->rtbText, QStringLiteral("ze"));
    find(window->rtbText, QStringLiteral("bra"));
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
    window->rtbText->setText(QStringLiteral("abc abc"));
    find(window->rtbText, QStringLiteral("abc"));
    select(window->rtbText, 1, 2);
    find(window->rtbText, QStringLiteral("zebra"));
    ASSERT_EQ(dialogs->shown.size(), 3u);
    EXPECT_EQ(dialogs->shown[2].kind, QStringLiteral("message"));
    EXPECT_EQ(dialogs->shown[2].text, QStringLiteral("[zebra] was not found"));
    EXPECT_EQ(dialogs->shown[2].title, QStringLiteral("Mnemora Text Search"));
    EXPECT_EQ(window->SearchPosition, -1);
    EXPECT_EQ(window->rtbText->selStart(), 1);
    EXPECT_EQ(window->rtbText->selLength(), 2);
    EXPECT_EQ(window->SearchText, QStringLiteral("zebra"));
}

TEST_F(Find, CancellingThePromptForgetsTheText)
{
    window->rtbText->setText(QStringLiteral("abc abc"));
    find(window->rtbText, QStringLiteral("abc"));
    find(window->rtbText, QString()); // cancelled, or confirmed empty
    EXPECT_TRUE(window->SearchText.isEmpty());
    EXPECT_EQ(window->SearchPosition, 0) << "the position stays";
    EXPECT_EQ(window->rtbText->selStart(), 0);
    find(window->rtbText, QStringLiteral("abc"));
    EXPECT_EQ(dialogs->shown.back().defaultAnswer, QString());
    EXPECT_EQ(window->SearchPosition, 4);
}

TEST_F(Find, ThePositionIsSharedByBothPanes)
{
    window->rtbText->setText(QString(57, u'.') + QStringLiteral("needle"));
    find(window->rtbText, QStringLiteral("needle"));
    ASSERT_EQ(window->SearchPosition, 57);

    // The result pane's search starts at 58: the match at 58 comes before the one at 20.
    window->rtbResult->setText(QString(20, u'-') + QStringLiteral("needle") + QString(32, u'-') +
                               QStringLiteral("needle"));
    find(window->rtbResult, QStringLiteral("needle"));
    EXPECT_EQ(window->rtbResult->selStart(), 58);
    find(window->rtbResult, QStringLiteral("needle"));
    EXPECT_EQ(window->rtbResult->selStart(), 20);
    EXPECT_EQ(window->rtbText->selStart(), 57) << "the input pane keeps its selection";

    // A pane shorter than the position wraps to its start.
    window->SearchPosition = 57;
    window->rtbResult->setText(QStringLiteral("a needle"));
    find(window->rtbResult, QStringLiteral("needle"));
    EXPECT_EQ(window->SearchPosition, 2);
}

TEST_F(Find, EditingThePaneKeepsThePosition)
{
    window->rtbText->setText(QStringLiteral("ab ab ab"));
    find(window->rtbText, QStringLiteral("ab"));
    find(window->rtbText, QStringLiteral("ab"));
    window->rtbText->setText(QStringLiteral("abababab"));
    find(window->rtbText, QStringLiteral("ab"));
    EXPECT_EQ(window->SearchPosition, 4);
}

TEST_F(Find, CountsAParagraphBreakAsOnePosition)
{
    window->rtbText->setText(QStringLiteral("one\r\ntwo\r\nthree"));
    find(window->rtbText, QStringLiteral("THREE"));
    EXPECT_EQ(window->SearchPosition, 8);
    EXPECT_EQ(window->rtbText->selText(), QStringLiteral("three"));
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
