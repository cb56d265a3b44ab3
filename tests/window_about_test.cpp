#include "Patience.h"
#include "frmAbout.h"
#include "WindowParts.h"
#include "frmWordloom.h"
#include "PlacementStore.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace wordloom::testing;

using wordloom::Twips;
using wordloom::frmAbout;

namespace {

class About : public wordloom::testing::PlacementStoreTest {
protected:
    QString stored(const char *key) const { return PlacementStoreTest::stored("frmAbout", key); }
};

TEST_F(About, ShowsTitleVersionDescriptionAndNotices)
{
    frmAbout about(settings);
    EXPECT_EQ(about.windowTitle(), "About Wordloom");
    EXPECT_EQ(about.lblTitle->text(), "Wordloom");
    EXPECT_EQ(about.lblVersion->text(), "Version 2.2.6");
    EXPECT_EQ(about.lblDescription->text(),
              "Wordloom performs various manipulations and analysis on textual data.");
    EXPECT_FALSE(about.lblCopyright->text().isEmpty());
    EXPECT_TRUE(about.lblDisclaimer->text().contains("freeware"));
    EXPECT_EQ(about.picIcon->pixmap().size(), QSize(32, 32));
    EXPECT_FALSE(about.windowIcon().isNull());
    EXPECT_TRUE(about.cmdOK->isDefault());
}

TEST_F(About, EnterAndEscapeBothStoreThePlacementAndClose)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(key == Qt::Key_Return ? "Enter" : "Escape");
        store("frmAbout", "SaveSize", "False");
        frmAbout about(settings);
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about, wordloom::testing::kPatienceMs)); // only a box on the screen stores
        about.move(about.x() + 30, about.y() + 20);
        QTest::keyClick(&about, key);
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(stored("WindowState"), "0");
        EXPECT_EQ(stored("SaveSize"), "True");
        const QRect frame = about.frameGeometry();
        EXPECT_EQ(stored("Top"), twipsY(frame.top()));
        EXPECT_EQ(stored("Left"), twipsX(frame.left()));
        EXPECT_EQ(stored("Width"), twipsX(frame.width()));
        EXPECT_EQ(stored("Height"), twipsY(frame.height()));
    }
}

TEST_F(About, TheTitleBarCloseStoresNothing)
{
    frmAbout about(settings);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about, wordloom::testing::kPatienceMs)); // so that only the title bar's close can keep it from storing
    about.close();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(stored("WindowState"), "<missing>");
    EXPECT_EQ(stored("Top"), "<missing>");
}

TEST_F(About, OpensAtItsDesignPlaceWhateverWasStored)
{
    store("frmAbout", "Top", "6000");
    store("frmAbout", "Left", "7500");
    frmAbout about(settings);
    about.show();
    EXPECT_EQ(about.geometry(), Twips::toPixels(2340, 1935, 5850, 3540));
}

TEST_F(About, TheMenuEntryOpensItModallyAndItIsGoneAfterOK)
{
    wordloom::frmWordloom window(services());
    window.show();
    bool sawModalAbout = false;
    QTimer::singleShot(0, [&] {
        auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
        sawModalAbout = about && about->isModal() && about->isVisible();
        if (about) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(about, wordloom::testing::kPatienceMs)); // only a box on the screen stores
            about->cmdOK->click();
        }
    });
    menuItem(window, "mnuAbout")->trigger();
    EXPECT_TRUE(sawModalAbout);
    EXPECT_EQ(stored("SaveSize"), "True");
    EXPECT_EQ(window.findChild<frmAbout *>(), nullptr);
}

} // namespace
