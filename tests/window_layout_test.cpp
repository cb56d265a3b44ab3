#include "app/frmWordloom.h"
#include "support/PlacementStore.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <memory>

using wordloom::TextPane;
using wordloom::Twips;
using wordloom::frmWordloom;

namespace {

// Pixels of a rectangle in twips, converted edge by edge.
QRect pixelEdges(double left, double top, double width, double height)
{
    const int x = Twips::toPixelsX(left), y = Twips::toPixelsY(top);
    return {x, y, Twips::toPixelsX(left + width) - x, Twips::toPixelsY(top + height) - y};
}

class WindowLayout : public wordloom::testing::PlacementStoreTest {
protected:
    void SetUp() override
    {
        PlacementStoreTest::SetUp();
        window = std::make_unique<frmWordloom>();
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        PlacementStoreTest::TearDown();
    }

    void resizeOuter(int width, int height)
    {
        const QSize extra = window->frameGeometry().size() - window->size();
        window->resize(width - extra.width(), height - extra.height());
    }
    QList<QPushButton *> column() const
    {
        frmWordloom &w = *window;
        return {w.cmdCase, w.cmdClean, w.cmdPurify, w.cmdSortLines, w.cmdSortWords, w.cmdUniqueLines,
                w.cmdUniqueWords, w.cmdWordCount, w.cmdPhraseCount, w.cmdBinaryCodes, w.cmdCancel, w.cmdExit};
    }
    // What holds after every pass, whatever the size.
    void expectInvariants()
    {
        frmWordloom &w = *window;
        EXPECT_EQ(w.rtbText->x(), Twips::toPixelsX(200));
        EXPECT_EQ(w.rtbResult->x(), w.rtbText->x());
        EXPECT_EQ(w.rtbResult->width(), w.rtbText->width());
        // One button column, 100 twips right of the panes (give or take the pixel grid).
        for (QPushButton *b : column())
            EXPECT_EQ(b->x(), w.cmdExit->x()) << b->objectName().toStdString();
        EXPECT_NEAR(w.cmdExit->x() - (w.rtbText->x() + w.rtbText->width()), Twips::toPixelsX(100), 1);
        EXPECT_EQ(w.line1[2]->x(), w.rtbResult->x());
        EXPECT_EQ(w.line1[3]->width(), w.rtbResult->width());
        EXPECT_EQ(w.line1[0]->width(), w.frameGeometry().width());
        EXPECT_EQ(w.sbStatus->panelWidth(1), w.frameGeometry().width());
        // Only the input and result panes are ever shown.
        for (TextPane *pane : w.findChildren<TextPane *>())
            if (pane != w.rtbText && pane != w.rtbResult)
                EXPECT_FALSE(pane->isVisible()) << pane->objectName().toStdString();
    }

    std::unique_ptr<frmWordloom> window;
};

TEST_F(WindowLayout, TheWorkedWindowInPixels)
{
    if (Twips::perPixelX() != 15 || Twips::perPixelY() != 15)
        GTEST_SKIP() << "figures worked out for 96 dots per inch";
    ASSERT_EQ(window->sbStatus->height(), 25); // 375 twips
    resizeOuter(638, 512);                     // 9570 x 7680 twips
    frmWordloom &w = *window;
    EXPECT_EQ(w.rtbText->geometry(), pixelEdges(200, 355, 7735, 2842)); // halve(7680 - 375 - 1420) - 100
    EXPECT_EQ(w.lblText->pos(), QPoint(Twips::toPixelsX(200 + 3560), Twips::toPixelsY(100)));
    const int buttonLeft = Twips::toPixelsX(8035);
    for (int i = 0; i < column().size(); ++i)
        EXPECT_EQ(column()[i]->pos(), QPoint(buttonLeft, Twips::toPixelsY(100 + 400 * i)));
    // The middle separator 100 below the input pane, the result pane below its label.
    const double middle = 355 + 2842 + 100;
    EXPECT_EQ(w.line1[3]->y(), Twips::toPixelsY(middle));
    EXPECT_EQ(w.line1[2]->y(), Twips::toPixelsY(middle) - 1);
    EXPECT_EQ(w.rtbResult->geometry(),
              pixelEdges(200, middle + 100 + 255, 7735, 7680 - (middle + 355) - 475 - 600 - 200));
    EXPECT_EQ(w.line1[0]->y(), 0);
    EXPECT_EQ(w.line1[1]->y(), 1);
    expectInvariants();
}

TEST_F(WindowLayout, EveryPassKeepsPanesButtonsLinesAndPanelAligned)
{
    for (QSize size : {QSize(638, 512), QSize(790, 590), QSize(700, 450), QSize(640, 600)}) {
        resizeOuter(size.width(), size.height());
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        expectInvariants();
    }
}

TEST_F(WindowLayout, TooSmallSnapsBackToTheMinimumAndStoresThePlacement)
{
    store("frmWordloom", "SaveSize", "False");
    resizeOuter(200, 150);
    const QRect frame = window->frameGeometry();
    const double hMin = Twips::fromPixelsY(window->sbStatus->height()) +
                        13 * (Twips::fromPixelsY(window->cmdExit->height()) + 100) + 600;
    EXPECT_GE(Twips::fromPixelsY(frame.height()), hMin);
    EXPECT_LT(Twips::fromPixelsY(frame.height() - 1), hMin);
    EXPECT_GT(frame.width(), 200);
    EXPECT_EQ(stored("frmWordloom", "SaveSize"), "True");
    EXPECT_EQ(stored("frmWordloom", "Width"), twipsX(frame.width()));
    EXPECT_EQ(stored("frmWordloom", "Height"), twipsY(frame.height()));
    EXPECT_GT(window->rtbResult->height(), 0);
    expectInvariants();
}

TEST_F(WindowLayout, MinimisedChangesNothingAndRestoringLaysOutAgain)
{
    resizeOuter(638, 512);
    window->showMinimized();
    const QRect before = window->rtbText->geometry();
    resizeOuter(780, 580);
    EXPECT_EQ(window->rtbText->geometry(), before);
    window->showNormal();
    EXPECT_NE(window->rtbText->geometry(), before);
    expectInvariants();
}

TEST_F(WindowLayout, MaximisedIsLaidOutToo)
{
    window->showMaximized();
    EXPECT_TRUE(window->isMaximized());
    expectInvariants();
}

} // namespace
