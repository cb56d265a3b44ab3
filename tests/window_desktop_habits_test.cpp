// What a desktop user expects of the window: Enter presses the focused
// button, Escape cancels a running command, and a stored placement never puts
// controls out of reach, whatever the screen and its scale.
#include "Patience.h"
#include "PlacementStore.h"
#include "WindowFixture.h"
#include "WindowParts.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryFile>
#include <QTest>

using namespace wordloom::testing;

using wordloom::Twips;
using wordloom::frmWordloom;

namespace {

std::string text(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

class Keys : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), wordloom::testing::kPatienceMs));
    }
};

TEST_F(Keys, EnterPressesTheFocusedButtonAndStillBreaksALineInThePane)
{
    rtbText(*window)->setText(QStringLiteral("b\r\na"));
    button("cmdSortLines")->setFocus();
    QTest::keyClick(button("cmdSortLines"), Qt::Key_Return);
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("a\r\nb"));

    button("cmdCase")->setFocus();
    QTest::keyClick(button("cmdCase"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("B\r\nA"));

    posts.clear();
    QTest::keyClick(button("cmdCase"), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(posts.isEmpty()) << "Ctrl+Enter is not a press";

    rtbText(*window)->setText(QStringLiteral("ab"));
    rtbText(*window)->setSelStart(1);
    rtbText(*window)->setFocus();
    QTest::keyClick(rtbText(*window), Qt::Key_Return);
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("a\r\nb"));
}

TEST_F(Keys, EscapeCancelsARunningCommandAndDoesNothingWhenIdle)
{
    const QString input = QStringLiteral("d\r\nc\r\nb\r\na");
    rtbText(*window)->setText(input);
    rtbResult(*window)->setText(QStringLiteral("before"));
    rtbText(*window)->setFocus();
    onPost = [](const QString &status) {
        if (status == QStringLiteral("Splitting..."))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    };
    button("cmdSortLines")->click();
    EXPECT_EQ(posts.last(), QStringLiteral("Cancelled"));
    EXPECT_FALSE(posts.contains(QStringLiteral("Formatting...")));
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("before"));

    onPost = nullptr;
    posts.clear();
    QTest::keyClick(rtbText(*window), Qt::Key_Escape);
    EXPECT_TRUE(posts.isEmpty());
    EXPECT_EQ(panel(), QStringLiteral("Status: Cancelled"));
    button("cmdSortLines")->click();
    EXPECT_EQ(posts.last(), QStringLiteral("Ready")) << "an Escape while idle is not kept for the next command";
}

class ScreenFit : public PlacementStoreTest {
protected:
    void storePlacement(int left, int top, int width, int height) const
    {
        store("frmWordloom", "SaveSize", "True");
        store("frmWordloom", "Left", twipsX(left));
        store("frmWordloom", "Top", twipsY(top));
        store("frmWordloom", "Width", twipsX(width));
        store("frmWordloom", "Height", twipsY(height));
    }
    // Every button and the status bar lie on the screen's free area.
    static void expectControlsOnScreen(const frmWordloom &window)
    {
        const QRect area = window.screen()->availableGeometry();
        EXPECT_TRUE(area.contains(window.frameGeometry())) << text(window.frameGeometry()) << " on " << text(area);
        for (const char *name : {"cmdCase", "cmdPhraseCount", "cmdBinaryCodes", "cmdCancel", "cmdExit"}) {
            const QPushButton *b = cmd(window, name);
            EXPECT_TRUE(area.contains(QRect(b->mapToGlobal(QPoint(0, 0)), b->size()))) << name;
        }
        const QStatusBar *bar = window.statusBar();
        EXPECT_TRUE(area.contains(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())));
    }
};

TEST_F(ScreenFit, AStoredPlacementBeyondTheScreenIsCutAndMovedOntoIt)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char *what;
        QRect stored;
    } cases[] = {
        {"larger than the screen", QRect(30, 30, area.width() + 300, area.height() + 200)},
        {"hanging off the bottom right", QRect(area.right() - 300, area.bottom() - 200, 640, 480)},
        {"far past the left edge", QRect(-400, 40, 640, 480)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        storePlacement(c.stored.left(), c.stored.top(), c.stored.width(), c.stored.height());
        frmWordloom window(services());
        window.show();
        expectControlsOnScreen(window);
    }
}

// Run in a child process on a 1600 x 1000 screen at scale factor 2.
TEST_F(ScreenFit, ChildAtScaleTwo)
{
    if (qEnvironmentVariableIsEmpty("WORDLOOM_SCALE_CHILD"))
        GTEST_SKIP() << "runs only inside AtScaleTwoAPlacementStoredAtScaleOneFitsTheScreen";
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(800, 500)) << "logical pixels";
    storePlacement(100, 100, 702, 524); // 1404 x 1048 device pixels
    frmWordloom window(services());
    window.show();
    expectControlsOnScreen(window);
}

TEST(ScreenFitScaled, AtScaleTwoAPlacementStoredAtScaleOneFitsTheScreen)
{
    QTemporaryFile config;
    ASSERT_TRUE(config.open());
    config.write(R"({"screens": [{"name": "wide", "x": 0, "y": 0, "width": 1600, "height": 1000,
                                  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("WORDLOOM_SCALE_CHILD", "1");
    env.insert("QT_SCALE_FACTOR", "2");
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=ScreenFit.ChildAtScaleTwo"});
    ASSERT_TRUE(wordloom::testing::waitForExit(child)) << "the child did not finish";
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

} // namespace
