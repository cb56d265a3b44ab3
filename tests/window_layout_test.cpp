#include "Patience.h"
#include "frmWordloom.h"
#include "WindowParts.h"
#include "PlacementStore.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace wordloom::testing;

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
        window = std::make_unique<frmWordloom>(services());
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
        return {cmd(w, "cmdCase"), cmd(w, "cmdClean"), cmd(w, "cmdPurify"), cmd(w, "cmdSortLines"), cmd(w, "cmdSortWords"), cmd(w, "cmdUniqueLines"),
                cmd(w, "cmdUniqueWords"), cmd(w, "cmdWordCount"), cmd(w, "cmdPhraseCount"), cmd(w, "cmdBinaryCodes"), cmd(w, "cmdCancel"), cmd(w, "cmdExit")};
    }
    // What holds after every pass, whatever the size.
    void expectInvariants()
    {
        frmWordloom &w = *window;
        EXPECT_EQ(rtbText(w)->x(), Twips::toPixelsX(200));
        EXPECT_EQ(rtbResult(w)->x(), rtbText(w)->x());
        EXPECT_EQ(rtbResult(w)->width(), rtbText(w)->width());
        // One button column, 100 twips right of the panes (give or take the pixel grid).
        for (QPushButton *b : column())
            EXPECT_EQ(b->x(), cmd(w, "cmdExit")->x()) << b->objectName().toStdString();
        EXPECT_NEAR(cmd(w, "cmdExit")->x() - (rtbText(w)->x() + rtbText(w)->width()), Twips::toPixelsX(100), 1);
        EXPECT_EQ(line1(w, 2)->x(), rtbResult(w)->x());
        EXPECT_EQ(line1(w, 3)->width(), rtbResult(w)->width());
        EXPECT_EQ(line1(w, 0)->width(), w.frameGeometry().width());
        EXPECT_EQ(sbStatus(w)->panelWidth(1), w.frameGeometry().width());
        // Only the input and result panes are ever shown.
        for (TextPane *pane : w.findChildren<TextPane *>()) {
            if (pane != rtbText(w) && pane != rtbResult(w)) {
                EXPECT_FALSE(pane->isVisible()) << pane->objectName().toStdString();
            }
        }
    }

    std::unique_ptr<frmWordloom> window;
};

TEST_F(WindowLayout, TheWorkedWindowInPixels)
{
    if (Twips::perPixelX() != 15 || Twips::perPixelY() != 15)
        GTEST_SKIP() << "figures worked out for 96 dots per inch";
    ASSERT_EQ(sbStatus(*window)->height(), 25); // 375 twips
    resizeOuter(638, 512);                     // 9570 x 7680 twips
    frmWordloom &w = *window;
    EXPECT_EQ(rtbText(w)->geometry(), pixelEdges(200, 355, 7735, 2842)); // halve(7680 - 375 - 1420) - 100
    EXPECT_EQ(label(w, "lblText")->pos(), QPoint(Twips::toPixelsX(200 + 3560), Twips::toPixelsY(100)));
    const int buttonLeft = Twips::toPixelsX(8035);
    for (int i = 0; i < column().size(); ++i)
        EXPECT_EQ(column()[i]->pos(), QPoint(buttonLeft, Twips::toPixelsY(100 + 400 * i)));
    // The middle separator 100 below the input pane, the result pane below its label.
    const double middle = 355 + 2842 + 100;
    EXPECT_EQ(line1(w, 3)->y(), Twips::toPixelsY(middle));
    EXPECT_EQ(line1(w, 2)->y(), Twips::toPixelsY(middle) - 1);
    EXPECT_EQ(rtbResult(w)->geometry(),
              pixelEdges(200, middle + 100 + 255, 7735, 7680 - (middle + 355) - 475 - 600 - 200));
    EXPECT_EQ(line1(w, 0)->y(), 0);
    EXPECT_EQ(line1(w, 1)->y(), 1);
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
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), wordloom::testing::kPatienceMs)); // only a window on the screen stores
    resizeOuter(200, 150);
    const QRect frame = window->frameGeometry();
    const double hMin = Twips::fromPixelsY(sbStatus(*window)->height()) +
                        13 * (Twips::fromPixelsY(cmd(*window, "cmdExit")->height()) + 100) + 600;
    EXPECT_GE(Twips::fromPixelsY(frame.height()), hMin);
    EXPECT_LT(Twips::fromPixelsY(frame.height() - 1), hMin);
    EXPECT_GT(frame.width(), 200);
    EXPECT_EQ(stored("frmWordloom", "SaveSize"), "True");
    EXPECT_EQ(stored("frmWordloom", "Width"), twipsX(frame.width()));
    EXPECT_EQ(stored("frmWordloom", "Height"), twipsY(frame.height()));
    EXPECT_GT(rtbResult(*window)->height(), 0);
    expectInvariants();
}

TEST_F(WindowLayout, MinimisedChangesNothingAndRestoringLaysOutAgain)
{
    resizeOuter(638, 512);
    window->showMinimized();
    const QRect before = rtbText(*window)->geometry();
    resizeOuter(780, 580);
    EXPECT_EQ(rtbText(*window)->geometry(), before);
    window->showNormal();
    EXPECT_NE(rtbText(*window)->geometry(), before);
    expectInvariants();
}

TEST_F(WindowLayout, MaximisedIsLaidOutToo)
{
    window->showMaximized();
    EXPECT_TRUE(window->isMaximized());
    expectInvariants();
}

} // namespace
