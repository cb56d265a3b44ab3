#include "frmWordloom.h"
#include "Patience.h"
#include "WindowParts.h"
#include "PlacementStore.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <memory>

using namespace wordloom::testing;

using wordloom::Twips;
using wordloom::frmWordloom;

namespace {

class Placement : public wordloom::testing::PlacementStoreTest {
protected:
    QString stored(const char *key) const { return PlacementStoreTest::stored("frmWordloom", key); }
    void store(const char *key, const QString &value) const { PlacementStoreTest::store("frmWordloom", key, value); }

    std::unique_ptr<frmWordloom> open(bool show = true)
    {
        auto window = std::make_unique<frmWordloom>(services());
        if (show) {
            window->show();
            // Only a window the screen has shown stores its placement.
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get(), wordloom::testing::kPatienceMs));
        }
        return window;
    }
    QStringList allKeys() const
    {
        QStringList values;
        for (const char *key : {"WindowState", "SaveSize", "Top", "Left", "Width", "Height"})
            values << stored(key);
        return values;
    }
};

TEST_F(Placement, FirstStartOpensBelowAndRightOfTheScreenCornerAtDesignSize)
{
    auto window = open();
    const QRect frame = window->frameGeometry();
    EXPECT_EQ(frame.top(), Twips::toPixelsY(700));
    EXPECT_EQ(frame.left(), Twips::toPixelsX(400));
    // The design client area: below the menu bar, the panes, buttons and status bar.
    EXPECT_EQ(window->width(), Twips::toPixelsX(9450));
    EXPECT_EQ(window->centralWidget()->height() + window->statusBar()->height(), Twips::toPixelsY(6795));
    EXPECT_FALSE(window->isMaximized());

    EXPECT_EQ(stored("WindowState"), "0");
    EXPECT_EQ(stored("SaveSize"), "False");
    EXPECT_EQ(stored("Top"), twipsY(frame.top()));
    EXPECT_EQ(stored("Left"), twipsX(frame.left()));
    EXPECT_EQ(stored("Width"), "<missing>");
    EXPECT_EQ(stored("Height"), "<missing>");
}

TEST_F(Placement, CloseStoresStatePositionAndSizeAndTheNextStartUsesThem)
{
    const QRect placed(-10, 60, 700, 520); // partly left of the screen, as on a second monitor
    {
        auto window = open();
        window->move(placed.topLeft());
        window->resize(placed.size() - (window->frameGeometry().size() - window->size()));
        window->close();
    }
    EXPECT_EQ(stored("WindowState"), "0");
    EXPECT_EQ(stored("SaveSize"), "True");
    EXPECT_EQ(stored("Left"), "-150");
    EXPECT_EQ(stored("Top"), twipsY(60));
    EXPECT_EQ(stored("Width"), twipsX(700));
    EXPECT_EQ(stored("Height"), twipsY(520));

    auto again = open(false);
    again->show(); // as placed, before the offscreen platform nudges it into its frame
    EXPECT_EQ(again->frameGeometry(), placed);
}

TEST_F(Placement, CloseWhileMinimisedStoresNothing)
{
    open()->close();
    const QStringList before = allKeys();
    auto window = open();
    window->move(200, 150);
    window->showMinimized();
    window->close();
    EXPECT_EQ(allKeys(), before);
}

TEST_F(Placement, CloseWhileMaximisedStoresStateAndFlagOnlyAndReopensMaximised)
{
    store("Top", "1500");
    store("Left", "2250");
    store("Width", "9000");
    store("Height", "7200");
    {
        auto window = open();
        window->showMaximized();
        window->close();
    }
    EXPECT_EQ(stored("WindowState"), "2");
    EXPECT_EQ(stored("SaveSize"), "True");
    EXPECT_EQ(stored("Top"), "1500");
    EXPECT_EQ(stored("Left"), "2250");
    EXPECT_EQ(stored("Width"), "9000");
    EXPECT_EQ(stored("Height"), "7200");

    auto again = open();
    EXPECT_TRUE(again->isMaximized());
}

TEST_F(Placement, StoredTopZeroMovesTheWindowDownAndRightAndStoresThatAtOnce)
{
    store("Top", "0");
    store("Left", "1500");
    auto window = open(false);
    EXPECT_EQ(window->frameGeometry().top(), Twips::toPixelsY(700));
    EXPECT_EQ(window->frameGeometry().left(), Twips::toPixelsX(1500) + Twips::toPixelsX(400));
    EXPECT_EQ(stored("Top"), twipsY(window->frameGeometry().top()));
    EXPECT_EQ(stored("Left"), twipsX(window->frameGeometry().left()));
    EXPECT_EQ(stored("SaveSize"), "False");
}

TEST_F(Placement, GarbageInTheStoreGivesTheDefaults)
{
    store("WindowState", "maximised");
    store("SaveSize", "perhaps");
    store("Top", "abc");
    store("Left", "1e999");
    store("Width", "wide");
    auto window = open();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(Twips::toPixelsX(400), Twips::toPixelsY(700)));
    EXPECT_EQ(window->width(), Twips::toPixelsX(9450));
    EXPECT_EQ(stored("SaveSize"), "False");
}

TEST_F(Placement, MissingOrAbsurdSizesGiveTheDefaultSize)
{
    store("SaveSize", "True");
    store("Top", "900");
    store("Left", "900");
    EXPECT_EQ(open(false)->frameGeometry().size(), QSize(Twips::toPixelsX(6400), Twips::toPixelsY(4800)));

    store("Width", "-20");
    store("Height", "1e12");
    EXPECT_EQ(open(false)->frameGeometry().size(), QSize(Twips::toPixelsX(6400), Twips::toPixelsY(4800)));
}

TEST_F(Placement, APositionOnNoScreenIsMovedOntoTheNearestScreen)
{
    store("Top", "-90000");
    store("Left", "120000");
    auto window = open(false);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry())) << window->frameGeometry().x() << ","
                                                          << window->frameGeometry().y();
    EXPECT_EQ(window->frameGeometry().top(), screen.top());
    EXPECT_EQ(window->frameGeometry().right(), screen.right());
}

} // namespace

namespace {

// Where every control stands, as the user sees the window.
QList<QRect> controlGeometries(const frmWordloom &w)
{
    return {rtbText(w)->geometry(), rtbResult(w)->geometry(), label(w, "lblResult")->geometry(),
            cmd(w, "cmdExit")->geometry(), line1(w, 3)->geometry()};
}

TEST_F(Placement, FirstStartLaysOutLikeEveryLaterStart)
{
    QList<QRect> first, second;
    {
        auto window = open();
        // A window manager adds the frame a moment after the window shows.
        QTRY_VERIFY_WITH_TIMEOUT(window->frameGeometry().size() != window->size(), wordloom::testing::kPatienceMs);
        QCoreApplication::processEvents();
        first = controlGeometries(*window);
        window->close();
    }
    auto again = open();
    QTRY_VERIFY_WITH_TIMEOUT(again->frameGeometry().size() != again->size(), wordloom::testing::kPatienceMs);
    QCoreApplication::processEvents();
    second = controlGeometries(*again);
    EXPECT_EQ(first, second);
}

} // namespace
