// The commands through the window: nesting, the saved input text, re-entry.
#include "WindowFixture.h"
#include "WindowParts.h"

#include <QTest>

using namespace wordloom::testing;

using wordloom::testing::WindowFixture;

namespace {

class Commands : public WindowFixture {
protected:
    // Presses Cancel during the n-th post of the given text.
    void cancelAt(const QString &post, int occurrence = 1)
    {
        onPost = [this, post, occurrence, seen = 0](const QString &text) mutable {
            if (text == post && ++seen == occurrence)
                button("cmdCancel")->click();
        };
    }
};

const QString kLines = QStringLiteral("b\r\na\r\nb\r\n\r\na");

TEST_F(Commands, UniqueLinesPostsBothStagesAndRestoresTheInput)
{
    rtbText(*window)->setText(kLines);
    button("cmdUniqueLines")->click();
    EXPECT_EQ(posts, (QStringList{"Starting...", "Detabbing...", "Splitting...", "Sorting...",
                                  "Formatting...", "Ready", "Shuffling...", "Splitting...",
                                  "Reshuffling...", "Formatting...", "Ready"}));
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("a\r\nb"));
    EXPECT_EQ(rtbText(*window)->Text(), kLines);
    EXPECT_FALSE(button("cmdCancel")->isEnabled());
    EXPECT_EQ(countersForTheNextCommand(), (ScriptedObserver::Depths{0, 0}));
}

TEST_F(Commands, UniqueLinesShowsTheSortedLinesWhileItRuns)
{
    QString shown;
    bool busyAfterSortLines = false;
    onPost = [&](const QString &text) {
        if (text == QStringLiteral("Shuffling..."))
            busyAfterSortLines = button("cmdCancel")->isEnabled() && window->cursor().shape() == Qt::WaitCursor;
        if (text == QStringLiteral("Reshuffling..."))
            shown = rtbText(*window)->Text();
    };
    rtbText(*window)->setText(kLines);
    button("cmdUniqueLines")->click();
    EXPECT_TRUE(busyAfterSortLines) << "the nested Sort Lines does not leave the busy state";
    EXPECT_EQ(shown, QStringLiteral("\r\na\r\na\r\nb\r\nb"));
    EXPECT_EQ(rtbText(*window)->Text(), kLines);
}

TEST_F(Commands, CancelDuringTheNestedSortLines)
{
    rtbResult(*window)->setText(QStringLiteral("before"));
    rtbText(*window)->setText(kLines);
    cancelAt(QStringLiteral("Splitting..."));
    button("cmdUniqueLines")->click();
    EXPECT_EQ(posts.count(QStringLiteral("Cancelled")), 2);
    EXPECT_EQ(posts.last(), QStringLiteral("Cancelled"));
    EXPECT_EQ(rtbText(*window)->Text(), kLines);
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("before"));
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);

    // The next run starts with the counters at zero, and saves and restores
    // the input again.
    onPost = nullptr;
    EXPECT_EQ(countersForTheNextCommand(), (ScriptedObserver::Depths{0, 0}));
    rtbText(*window)->setText(QStringLiteral("y\r\nx"));
    button("cmdUniqueLines")->click();
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("x\r\ny"));
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("y\r\nx"));
}

TEST_F(Commands, CancelDuringTheKeptLinesLoopStillRestoresTheInput)
{
    rtbText(*window)->setText(kLines);
    cancelAt(QStringLiteral("Shuffling..."));
    button("cmdUniqueLines")->click();
    EXPECT_EQ(posts.last(), QStringLiteral("Cancelled"));
    EXPECT_FALSE(posts.contains(QStringLiteral("Reshuffling...")));
    EXPECT_EQ(rtbText(*window)->Text(), kLines);
}

TEST_F(Commands, UniqueWordsChainsSortWordsAndUniqueLines)
{
    const QString input = QStringLiteral("the Cat and the cat");
    rtbText(*window)->setText(input);
    button("cmdUniqueWords")->click();
    EXPECT_EQ(posts, (QStringList{"Starting...", "Dehyphenating...", "Cleaning...", "Packing...",
                                  "Parsing...", "Sorting...", "Formatting...", "Ready",
                                  "Starting...", "Detabbing...", "Splitting...", "Sorting...",
                                  "Formatting...", "Ready", "Shuffling...", "Splitting...",
                                  "Formatting...", "Ready"}));
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("Cat\r\nand\r\ncat\r\nthe"));
    EXPECT_EQ(rtbText(*window)->Text(), input);
    EXPECT_FALSE(button("cmdCancel")->isEnabled());
    EXPECT_EQ(countersForTheNextCommand(), (ScriptedObserver::Depths{0, 0}));
}

TEST_F(Commands, UniqueWordsCancelledInSortWords)
{
    rtbResult(*window)->setText(QStringLiteral("before"));
    rtbText(*window)->setText(QStringLiteral("exam-\r\nple exam ple"));
    cancelAt(QStringLiteral("Cleaning..."));
    button("cmdUniqueWords")->click();
    EXPECT_EQ(posts.count(QStringLiteral("Cancelled")), 2);
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("before"));
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("exam-\r\nple exam ple"));
}

TEST_F(Commands, SortLinesCancelledAtFormattingKeepsItsResult)
{
    rtbText(*window)->setText(QStringLiteral("b\r\na"));
    cancelAt(QStringLiteral("Formatting..."));
    button("cmdSortLines")->click();
    EXPECT_EQ(posts.last(), QStringLiteral("Cancelled"));
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("a\r\nb"));
}

TEST_F(Commands, ACommandStartedInsideAPostEndsTheInterruptedOne)
{
    rtbText(*window)->setText(QStringLiteral("b a b"));
    onPost = [this, started = false](const QString &text) mutable {
        if (text == QStringLiteral("Splitting...") && !started) {
            started = true;
            button("cmdWordCount")->click();
        }
    };
    button("cmdSortLines")->click();
    const qsizetype wordCountReady = posts.indexOf(QStringLiteral("Formatting results"));
    ASSERT_GE(wordCountReady, 0);
    EXPECT_EQ(posts.at(wordCountReady + 1), QStringLiteral("Ready"));
    EXPECT_EQ(posts.last(), QStringLiteral("Cancelled")) << "Sort Lines finds Cancel disabled";
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("a  1\r\nb  2\r\n"));
}

TEST_F(Commands, WordCountCancelledWhileCountingLeavesTheResult)
{
    rtbResult(*window)->setText(QStringLiteral("before"));
    rtbText(*window)->setText(QStringLiteral("one two three"));
    cancelAt(QStringLiteral("Words: 1"));
    button("cmdWordCount")->click();
    EXPECT_TRUE(posts.contains(QStringLiteral("Words: 2"))) << "the counting runs to its end";
    EXPECT_EQ(posts.last(), QStringLiteral("Cancelled"));
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("before"));
}

TEST_F(Commands, PhraseCountThroughTheWindow)
{
    rtbText(*window)->setText(QStringLiteral("The cat sat. The cat sat. The dog."));
    button("cmdPhraseCount")->click();
    EXPECT_EQ(rtbResult(*window)->Text(),
              QStringLiteral("cat sat the  2\r\nsat the      2\r\nthe cat sat  2\r\n"));
    EXPECT_EQ(posts.last(), QStringLiteral("Ready"));
    EXPECT_EQ(observer.last.workText, QStringLiteral("the cat sat. the cat sat. the dog."))
        << "the scratch pane keeps the lowercased text";
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("The cat sat. The cat sat. The dog."));
}

TEST_F(Commands, FiltersAndBinaryCodesWriteTheirResults)
{
    rtbText(*window)->setText(QStringLiteral("R2D2\u00E9"));
    button("cmdClean")->click();
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("R2D2 "));
    button("cmdPurify")->click();
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("R D  "));
    rtbText(*window)->setText(QStringLiteral("Hi"));
    button("cmdBinaryCodes")->click();
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("01001000 01101001 "));
}

} // namespace
