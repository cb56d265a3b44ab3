#include "Patience.h"
#include "WindowFixture.h"
#include "WindowParts.h"

#include <QAction>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <stdexcept>

using namespace wordloom::testing;

using wordloom::testing::WindowFixture;

namespace {

class Lifecycle : public WindowFixture {};

TEST_F(Lifecycle, OpensIdleWithTheSampleText)
{
    EXPECT_FALSE(button("cmdCancel")->isEnabled());
    EXPECT_TRUE(panel().isEmpty());
    EXPECT_TRUE(rtbText(*window)->Text().startsWith(QStringLiteral("To be or not to be.  That is")));
    EXPECT_TRUE(rtbText(*window)->Text().endsWith(QStringLiteral("end them.\r\n")));
    EXPECT_TRUE(rtbResult(*window)->Text().isEmpty());
    EXPECT_TRUE(menuItem(*window, "mnuTextPopupWrap")->isChecked());
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    // The menu bar holds the About entry only; the pop-up root never shows there.
    const auto entries = window->menuBar()->actions();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.front()->text(), QStringLiteral("&About"));
}

TEST_F(Lifecycle, TheHyphenBreakIsAHyphenBeforeCrLfOnly)
{
    // Sort Words joins a word broken by it; a hyphen before a space or a lone LF stays a break.
    rtbText(*window)->setText(QStringLiteral("exam-\r\nple ab- cd ef-\ngh"));
    button("cmdSortWords")->click();
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("ab\r\ncd\r\nef\r\nexample\r\ngh\r\n"));
}

TEST_F(Lifecycle, TheScratchPanesAreNeverShown)
{
    // They start with their own names, as the first command finds them, and
    // are text buffers, not widgets.
    onPost = [this](const QString &) {
        onPost = nullptr;
        EXPECT_EQ(observer.last.workText, QStringLiteral("rtbWork"));
        EXPECT_EQ(observer.last.saveText, QStringLiteral("rtbSave"));
    };
    button("cmdCase")->click();
    ASSERT_EQ(observer.posts, 3);
    window->showMaximized();
    window->showNormal();
    window->resize(2000, 1500);
    button("cmdUniqueWords")->click();
    for (QWidget *w : window->findChildren<QWidget *>())
        EXPECT_FALSE(w->objectName().startsWith(QStringLiteral("rtbWork")) ||
                     w->objectName().startsWith(QStringLiteral("rtbSave")))
            << w->objectName().toStdString();
    EXPECT_EQ(window->findChildren<wordloom::TextPane *>().size(), 2);
}

TEST_F(Lifecycle, ChangeCaseThroughTheButton)
{
    rtbText(*window)->setText(QStringLiteral("Hello World"));
    button("cmdCase")->click();
    EXPECT_EQ(posts, (QStringList{"Starting...", "Casing...", "Ready"}));
    EXPECT_EQ(panel(), QStringLiteral("Status: Ready"));
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("hello world"));
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("Hello World"));
}

TEST_F(Lifecycle, ChangeCaseWithoutLettersKeepsTheResultPane)
{
    rtbResult(*window)->setText(QStringLiteral("earlier result"));
    rtbText(*window)->setText(QStringLiteral("123 !?"));
    button("cmdCase")->click();
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("earlier result"));
    EXPECT_EQ(panel(), QStringLiteral("Status: Ready"));
}

TEST_F(Lifecycle, BusyStateBeforeDuringAndAfter)
{
    struct Seen {
        QString post;
        bool cancelEnabled;
        Qt::CursorShape pointer;
    };
    std::vector<Seen> seen;
    onPost = [&](const QString &text) {
        seen.push_back({text, button("cmdCancel")->isEnabled(), window->cursor().shape()});
    };
    button("cmdCase")->click();
    ASSERT_EQ(seen.size(), 3u);
    // Cancel is enabled only after "Starting..." has been posted.
    EXPECT_FALSE(seen[0].cancelEnabled);
    EXPECT_TRUE(seen[1].cancelEnabled);
    for (const auto &s : seen)
        EXPECT_EQ(s.pointer, Qt::WaitCursor) << s.post.toStdString();
    EXPECT_FALSE(button("cmdCancel")->isEnabled());
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Lifecycle, CancelPressedDuringStartingHasNoEffect)
{
    onPost = [&](const QString &text) {
        if (text == QStringLiteral("Starting..."))
            button("cmdCancel")->click(); // still disabled: the click goes nowhere
    };
    rtbText(*window)->setText(QStringLiteral("abc"));
    button("cmdCase")->click();
    EXPECT_EQ(posts.last(), QStringLiteral("Ready"));
}

TEST_F(Lifecycle, CancelDuringChangeCaseDoesNotStopIt)
{
    onPost = [&](const QString &text) {
        if (text == QStringLiteral("Casing..."))
            button("cmdCancel")->click();
    };
    rtbText(*window)->setText(QStringLiteral("abc"));
    button("cmdCase")->click();
    EXPECT_EQ(posts.last(), QStringLiteral("Ready"));
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("ABC"));
}

TEST_F(Lifecycle, PostingShowsThePrefixedText)
{
    window->ShowStatus(QString());
    EXPECT_EQ(panel(), QStringLiteral("Status: "));
    window->ShowStatus(QStringLiteral("Ready"));
    EXPECT_EQ(panel(), QStringLiteral("Status: Ready"));
}

TEST_F(Lifecycle, AFailedCommandLeavesTheWindowUsable)
{
    const QString input = QStringLiteral("Keep me");
    rtbText(*window)->setText(input);
    for (int post = 1; post <= 3; ++post) {
        SCOPED_TRACE(post);
        dialogs->shown.clear();
        observer.failAt(post, [] { throw std::bad_alloc(); });
        button("cmdCase")->click();
        ASSERT_EQ(dialogs->shown.size(), 1u);
        EXPECT_EQ(dialogs->shown[0].kind, QStringLiteral("failure"));
        EXPECT_TRUE(dialogs->shown[0].text.contains(QStringLiteral("Change Case")));
        EXPECT_TRUE(dialogs->shown[0].text.contains(QStringLiteral("memory")));
        EXPECT_FALSE(button("cmdCancel")->isEnabled());
        EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
        EXPECT_EQ(rtbText(*window)->Text(), input);
        EXPECT_EQ(countersForTheNextCommand(), (ScriptedObserver::Depths{0, 0}));
    }
    observer.failAt(2, [] { throw std::runtime_error("disk on fire"); });
    button("cmdCase")->click();
    EXPECT_TRUE(dialogs->shown.back().text.contains(QStringLiteral("disk on fire")));
    // And the next command runs normally.
    rtbResult(*window)->setText(QString());
    button("cmdCase")->click();
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("keep me"));
}

TEST_F(Lifecycle, ClosingDuringAPostWaitsForTheCommandToUnwind)
{
    bool closedDuringCommand = false;
    onPost = [&](const QString &text) {
        if (text == QStringLiteral("Casing...")) {
            window->close();
            closedDuringCommand = !window->isVisible();
        }
    };
    rtbText(*window)->setText(QStringLiteral("abc"));
    button("cmdCase")->click();
    EXPECT_FALSE(closedDuringCommand);
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("ABC"));
    QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), wordloom::testing::kPatienceMs);
    // A command asked for while closing does not start.
    posts.clear();
    button("cmdCase")->click();
    EXPECT_TRUE(posts.isEmpty());
}

TEST_F(Lifecycle, ExitClosesTheWindow)
{
    button("cmdExit")->click();
    EXPECT_FALSE(window->isVisible());
}

} // namespace
