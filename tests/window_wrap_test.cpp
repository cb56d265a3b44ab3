#include "PopupFixture.h"
#include "WindowParts.h"

#include "Twips.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

using namespace wordloom::testing;

using wordloom::TextPane;
using wordloom::Twips;
using wordloom::testing::PopupFixture;

namespace {

class WrapLines : public PopupFixture {
protected:
    void SetUp() override
    {
        PopupFixture::SetUp();
        rtbText(*window)->setText(QString(600, u'A') + QStringLiteral("\r\nshort"));
        rtbResult(*window)->setText(QString(600, u'B'));
    }
    float onMargin(TextPane *pane) const { return float(Twips::fromPixelsX(pane->width(), pane)) - 200.0f; }
    float offMargin() const
    {
        const QFontMetricsF metrics(window->font());
        return 1001.0f * float(metrics.horizontalAdvance(QLatin1Char('A')) * Twips::perPixelX(window.get()));
    }
    // Screen lines taken by the pane's first line of text.
    static int linesOfFirstParagraph(TextPane *pane)
    {
        const QTextBlock first = pane->document()->firstBlock();
        pane->document()->documentLayout()->blockBoundingRect(first); // lays the block out now
        const qsizetype lineEnd = first.text().indexOf(QChar::LineSeparator);
        int lines = 0;
        for (int i = 0; i < first.layout()->lineCount(); ++i)
            if (lineEnd < 0 || first.layout()->lineAt(i).textStart() <= lineEnd)
                ++lines;
        return lines;
    }
};

TEST_F(WrapLines, TheSharedCheckMarkSwitchesEachPane)
{
    EXPECT_TRUE(menuItem(*window, "mnuTextPopupWrap")->isChecked());
    EXPECT_FALSE(rtbText(*window)->rightMargin().has_value()) << "no margin until chosen";
    EXPECT_GT(linesOfFirstParagraph(rtbText(*window)), 1) << "wraps at the pane's width meanwhile";

    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupWrap"));
    EXPECT_FALSE(menuItem(*window, "mnuTextPopupWrap")->isChecked());
    ASSERT_TRUE(rtbText(*window)->rightMargin().has_value());
    EXPECT_FLOAT_EQ(*rtbText(*window)->rightMargin(), offMargin());
    EXPECT_EQ(linesOfFirstParagraph(rtbText(*window)), 1);

    rightClick(rtbResult(*window), menuItem(*window, "mnuTextPopupWrap"));
    EXPECT_FALSE(openings.back().wrapChecked) << "the result pane's menu shows the shared mark";
    EXPECT_TRUE(menuItem(*window, "mnuTextPopupWrap")->isChecked());
    EXPECT_FLOAT_EQ(*rtbResult(*window)->rightMargin(), onMargin(rtbResult(*window)));
    EXPECT_GT(linesOfFirstParagraph(rtbResult(*window)), 1);
    EXPECT_FLOAT_EQ(*rtbText(*window)->rightMargin(), offMargin()) << "the other pane is left alone";

    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupWrap"));
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupWrap"));
    EXPECT_TRUE(menuItem(*window, "mnuTextPopupWrap")->isChecked());
    EXPECT_FLOAT_EQ(*rtbText(*window)->rightMargin(), onMargin(rtbText(*window)));
}

TEST_F(WrapLines, LinesEndAtTheMarginFromThePanesLeftEdge)
{
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupWrap"));
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupWrap"));
    TextPane *pane = rtbText(*window);
    linesOfFirstParagraph(pane);
    const QTextLine first = pane->document()->firstBlock().layout()->lineAt(0);
    const double rightEdge = pane->frameWidth() + pane->document()->documentMargin() + first.width();
    EXPECT_EQ(int(std::lround(rightEdge)), Twips::toPixelsX(*pane->rightMargin(), pane));
}

TEST_F(WrapLines, ResizingKeepsTheMargin)
{
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupWrap"));
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupWrap"));
    const float margin = *rtbText(*window)->rightMargin();
    const int lines = linesOfFirstParagraph(rtbText(*window));
    for (int width : {rtbText(*window)->width() / 2, rtbText(*window)->width() * 2}) {
        rtbText(*window)->resize(width, rtbText(*window)->height());
        QCoreApplication::processEvents();
        EXPECT_FLOAT_EQ(*rtbText(*window)->rightMargin(), margin);
        EXPECT_EQ(linesOfFirstParagraph(rtbText(*window)), lines) << width;
    }
}

// Typing re-lays out the edited paragraph at the pane's own width first; the
// margin must win again before the line count reaches the scroll bars. A
// margin wider than the pane scrolls sideways as far as it reaches.
TEST_F(WrapLines, EditsKeepTheMarginAndAWideMarginScrollsToItsEnd)
{
    TextPane *pane = rtbText(*window);
    for (const bool wrapOn : {false, true}) {
        SCOPED_TRACE(wrapOn ? "wrap on" : "wrap off");
        rightClick(pane, menuItem(*window, "mnuTextPopupWrap"));
        ASSERT_EQ(menuItem(*window, "mnuTextPopupWrap")->isChecked(), wrapOn);
        linesOfFirstParagraph(pane);
        const int lines = pane->document()->firstBlock().lineCount();
        pane->moveCursor(QTextCursor::Start);
        QTest::keyClicks(pane, QStringLiteral("A"));
        QCoreApplication::processEvents();
        EXPECT_EQ(pane->document()->firstBlock().lineCount(), lines);
        const int margin = Twips::toPixelsX(*pane->rightMargin(), pane) - pane->frameWidth();
        const int reach = margin + int(pane->document()->documentMargin());
        EXPECT_EQ(pane->horizontalScrollBar()->maximum(), std::max(0, reach - pane->viewport()->width()));
    }
}

} // namespace
