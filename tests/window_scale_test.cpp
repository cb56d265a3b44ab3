// The window on high-density screens: at QT_SCALE_FACTOR=2 and at
// QT_SCREEN_SCALE_FACTORS=1.5 every caption is drawn whole inside its button,
// no control covers another, and the layout in logical pixels is the one of
// scale 1. Each scale runs in a child process, since Qt reads the factors at start.
#include "Patience.h"
#include "PlacementStore.h"
#include "WindowParts.h"

#include <QApplication>
#include <QMap>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryFile>
#include <QTest>

using namespace wordloom::testing;

using wordloom::frmWordloom;

namespace {

// The columns of a button's picture in device pixels where its caption
// leaves ink: the button drawn with and without its text, compared.
std::pair<int, int> captionInk(QPushButton *button)
{
    const QImage with = button->grab().toImage();
    const QString caption = button->text();
    button->setText(QString());
    const QImage without = button->grab().toImage();
    button->setText(caption);
    int first = with.width(), last = -1;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

// Drawn text is clipped to the button's contents: a caption that does not
// fit reaches the contents' edges, one that fits stays clear of them.
void expectCaptionsDrawnWhole(const frmWordloom &window, double ratio)
{
    for (QPushButton *button : window.centralWidget()->findChildren<QPushButton *>()) {
        SCOPED_TRACE(button->objectName().toStdString());
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const auto [first, last] = captionInk(button);
        ASSERT_LE(first, last) << "no caption drawn";
        EXPECT_GT(first, std::floor(contents.left() * ratio));
        EXPECT_LT(last, std::ceil((contents.right() + 1) * ratio) - 1);
    }
}

// The client's controls, the menu bar and the status bar in window coordinates.
QMap<QString, QRect> visibleControls(const frmWordloom &window)
{
    QMap<QString, QRect> controls;
    for (QWidget *w : window.centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (w->isVisible())
            controls[w->objectName()] = QRect(w->mapTo(&window, QPoint(0, 0)), w->size());
    for (QWidget *w : {static_cast<QWidget *>(window.menuBar()), static_cast<QWidget *>(window.statusBar())})
        controls[w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName()] =
            QRect(w->mapTo(&window, QPoint(0, 0)), w->size());
    return controls;
}

void expectNoOverlap(const QMap<QString, QRect> &controls)
{
    for (auto a = controls.begin(); a != controls.end(); ++a)
        for (auto b = std::next(a); b != controls.end(); ++b)
            EXPECT_FALSE(a.value().intersects(b.value())) << a.key().toStdString() << " and " << b.key().toStdString();
}

class ScaledWindow : public PlacementStoreTest {};

// Lays the window out at one size and prints every control's place.
TEST_F(ScaledWindow, Child)
{
    const QByteArray expectedRatio = qgetenv("WORDLOOM_SCALE_CHILD_RATIO");
    if (expectedRatio.isEmpty())
        GTEST_SKIP() << "runs only inside ScaledWindows.*";
    frmWordloom window(services());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, wordloom::testing::kPatienceMs));
    window.resize(638, 512);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return window.size() == QSize(638, 512) && sbStatus(window)->panelWidth(1) == window.frameGeometry().width();
    }, wordloom::testing::kPatienceMs));
    const double ratio = window.devicePixelRatioF();
    ASSERT_DOUBLE_EQ(ratio, expectedRatio.toDouble()) << "the scale factor did not take";
    expectCaptionsDrawnWhole(window, ratio);
    // The icon has a drawing for the density, not the 32-pixel design blown up.
    const QPixmap icon = window.windowIcon().pixmap(QSize(32, 32), ratio);
    EXPECT_GE(icon.width(), qRound(32 * ratio)) << "the icon is scaled up from a smaller drawing";
    const QMap<QString, QRect> controls = visibleControls(window);
    expectNoOverlap(controls);
    for (auto c = controls.begin(); c != controls.end(); ++c)
        std::printf("PLACE %s %d %d %d %d\n", qPrintable(c.key()), c->x(), c->y(), c->width(), c->height());
}

// Runs the child at one scale on a 2400 x 1800 device-pixel screen; returns
// the places it printed, or an empty map after reporting why.
QMap<QString, QRect> placesAt(const char *variable, const char *value, const char *ratio)
{
    QTemporaryFile config;
    if (!config.open())
        return {};
    config.write(R"({"screens": [{"name": "dense", "x": 0, "y": 0, "width": 2400, "height": 1800,
                                  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_SCALE_FACTOR");
    env.remove("QT_SCREEN_SCALE_FACTORS");
    if (variable)
        env.insert(QLatin1String(variable), QLatin1String(value));
    env.insert("WORDLOOM_SCALE_CHILD_RATIO", ratio);
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName());
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=ScaledWindow.Child"});
    const bool finished = wordloom::testing::waitForExit(child);
    const QByteArray output = child.readAll();
    EXPECT_TRUE(finished && child.exitCode() == 0 && output.contains("[  PASSED  ] 1 test"))
        << "at " << (variable ? variable : "scale 1") << "=" << value << ":\n" << output.toStdString();
    QMap<QString, QRect> places;
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> f = line.trimmed().split(' ');
        if (f.size() == 6 && f[0] == "PLACE")
            places[QString::fromLatin1(f[1])] = QRect(f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5].toInt());
    }
    return places;
}

// Logical pixels at a higher scale round to the device grid: a pixel or two.
void expectSameLayout(const QMap<QString, QRect> &scaled, const QMap<QString, QRect> &plain)
{
    ASSERT_FALSE(plain.isEmpty());
    ASSERT_EQ(scaled.keys(), plain.keys());
    for (auto p = plain.begin(); p != plain.end(); ++p) {
        SCOPED_TRACE(p.key().toStdString());
        const QRect s = scaled.value(p.key());
        EXPECT_NEAR(s.x(), p->x(), 2);
        EXPECT_NEAR(s.y(), p->y(), 2);
        EXPECT_NEAR(s.width(), p->width(), 2);
        EXPECT_NEAR(s.height(), p->height(), 2);
    }
}

TEST(ScaledWindows, AtTwiceAndOneAndAHalfCaptionsFitNothingOverlapsAndTheLayoutIsKept)
{
    const QMap<QString, QRect> plain = placesAt(nullptr, "", "1");
    {
        SCOPED_TRACE("QT_SCALE_FACTOR=2");
        expectSameLayout(placesAt("QT_SCALE_FACTOR", "2", "2"), plain);
    }
    {
        SCOPED_TRACE("QT_SCREEN_SCALE_FACTORS=1.5");
        expectSameLayout(placesAt("QT_SCREEN_SCALE_FACTORS", "1.5", "1.5"), plain);
    }
}

} // namespace
