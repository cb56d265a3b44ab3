#include "support/PopupFixture.h"

#include "platform/Twips.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextLayout>

using wordloom::TextPane;
using wordloom::Twips;
using wordloom::testing::PopupFixture;

namespace {

class WrapLines : public PopupFixture {
protected:
    void SetUp() override
    {
        PopupFixture::SetUp();
        window->rtbText->setText(QString(600, u'A') + QStringLiteral("\r\nshort"));
        window->rtbResult->setText(QString(600, u'B'));
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
    EXPECT_TRUE(window->mnuTextPopupWrap->isChecked());
    EXPECT_FALSE(window->rtbText->rightMargin().has_value()) << "no margin until chosen";
    EXPECT_GT(linesOfFirstParagraph(window->rtbText), 1) << "wraps at the pane's width meanwhile";

    rightClick(window->rtbText, window->mnuTextPopupWrap);
    EXPECT_FALSE(window->mnuTextPopupWrap->isChecked());
    ASSERT_TRUE(window->rtbText->rightMargin().has_value());
    EXPECT_FLOAT_EQ(*window->rtbText->rightMargin(), offMargin());
    EXPECT_EQ(linesOfFirstParagraph(window->rtbText), 1);

    rightClick(window->rtbResult, window->mnuTextPopupWrap);
    EXPECT_FALSE(openings.back().wrapChecked) << "the result pane's menu shows the shared mark";
    EXPECT_TRUE(window->mnuTextPopupWrap->isChecked());
    EXPECT_FLOAT_EQ(*window->rtbResult->rightMargin(), onMargin(window->rtbResult));
    EXPECT_GT(linesOfFirstParagraph(window->rtbResult), 1);
    EXPECT_FLOAT_EQ(*window->rtbText->rightMargin(), offMargin()) << "the other pane is left alone";

    rightClick(window->rtbText, window->mnuTextPopupWrap);
    rightClick(window->rtbText, window->mnuTextPopupWrap);
    EXPECT_TRUE(window->mnuTextPopupWrap->isChecked());
    EXPECT_FLOAT_EQ(*window->rtbText->rightMargin(), onMargin(window->rtbText));
}

TEST_F(WrapLines, LinesEndAtTheMarginFromThePanesLeftEdge)
{
    rightClick(window->rtbText, window->mnuTextPopupWrap);
    rightClick(window->rtbText, window->mnuTextPopupWrap);
    TextPane *pane = window->rtbText;
    linesOfFirstParagraph(pane);
    const QTextLine first = pane->document()->firstBlock().layout()->lineAt(0);
    const double rightEdge = pane->frameWidth() + pane->document()->documentMargin() + first.width();
    EXPECT_EQ(int(std::lround(rightEdge)), Twips::toPixelsX(*pane->rightMargin(), pane));
}

TEST_F(WrapLines, ResizingKeepsTheMargin)
{
    rightClick(window->rtbText, window->mnuTextPopupWrap);
    rightClick(window->rtbText, window->mnuTextPopupWrap);
    const float margin = *window->rtbText->rightMargin();
    const int lines = linesOfFirstParagraph(window->rtbText);
    for (int width : {window->rtbText->width() / 2, window->rtbText->width() * 2}) {
        window->rtbText->resize(width, window->rtbText->height());
        QCoreApplication::processEvents();
        EXPECT_FLOAT_EQ(*window->rtbText->rightMargin(), margin);
        EXPECT_EQ(linesOfFirstParagraph(window->rtbText), lines) << width;
    }
}

} // namespace
