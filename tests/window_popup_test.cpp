#include "PopupFixture.h"
#include "WindowParts.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QTimer>
#include <new>

using namespace wordloom::testing;

using wordloom::testing::PopupFixture;

namespace {

class PanePopup : public PopupFixture {
protected:
    // The names of the enabled editing items at the last opening, in menu order.
    QStringList enabledItems() const
    {
        static const char *names[] = {"mnuTextPopupCut", "mnuTextPopupCopy", "mnuTextPopupPaste",
                                      "mnuTextPopupDelete", "mnuTextPopupSelectAll", "mnuTextPopupFind",
                                      "mnuTextPopupWrap"};
        QStringList on;
        for (const char *name : names)
            if (openings.back().enabled.at(QLatin1String(name)))
                on << QString::fromLatin1(name).mid(12);
        return on;
    }
};

TEST_F(PanePopup, EnabledItemsFollowSelectionTextAndClipboard)
{
    rtbText(*window)->setText(QString());
    rightClick(rtbText(*window));
    ASSERT_EQ(openings.size(), 1u);
    EXPECT_EQ(enabledItems(), QStringList{"Wrap"}) << "empty pane, empty clipboard";

    rtbText(*window)->setText(QStringLiteral("Hello world"));
    rightClick(rtbText(*window));
    EXPECT_EQ(enabledItems(), (QStringList{"SelectAll", "Find", "Wrap"})) << "text, no selection";

    setClipboardText(QStringLiteral("x"));
    rightClick(rtbText(*window));
    EXPECT_EQ(enabledItems(), (QStringList{"Paste", "SelectAll", "Find", "Wrap"}));

    select(rtbText(*window), 0, 5);
    rightClick(rtbText(*window));
    EXPECT_EQ(enabledItems(), (QStringList{"Cut", "Copy", "Paste", "Delete", "SelectAll", "Find", "Wrap"}));

    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(picture);
    rightClick(rtbText(*window));
    EXPECT_EQ(enabledItems(), (QStringList{"Cut", "Copy", "Delete", "SelectAll", "Find", "Wrap"}))
        << "a picture is no text";
}

TEST_F(PanePopup, ReadOnlyPaneOffersNoEditing)
{
    rtbResult(*window)->setText(QStringLiteral("Hello"));
    rtbResult(*window)->setReadOnly(true);
    setClipboardText(QStringLiteral("x"));
    select(rtbResult(*window), 1, 2);
    rightClick(rtbResult(*window));
    EXPECT_EQ(enabledItems(), (QStringList{"Copy", "SelectAll", "Find", "Wrap"}));
}

TEST_F(PanePopup, OnlyTheRightButtonOpensTheMenu)
{
    rtbText(*window)->setText(QString());
    rightClick(rtbText(*window)); // leaves every editing item greyed
    click(rtbText(*window), Qt::LeftButton);
    click(rtbResult(*window), Qt::MiddleButton);
    rtbText(*window)->setText(QStringLiteral("abc"));
    click(rtbText(*window), Qt::LeftButton);
    EXPECT_EQ(openings.size(), 1u);
    EXPECT_FALSE(menuItem(*window, "mnuTextPopupFind")->isEnabled());
    EXPECT_EQ(menuItem(*window, "mnuTextPopupCaption")->text(), QStringLiteral("TEXT OPTIONS"));
}

TEST_F(PanePopup, TwoQuickRightClicksOpenTheMenuTwice)
{
    rtbText(*window)->setText(QStringLiteral("abc"));
    QTest::mouseClick(rtbText(*window)->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseDClick(rtbText(*window)->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(openings.size(), 2u);
}

TEST_F(PanePopup, HeadingNamesThePaneAndCommandsActOnIt)
{
    EXPECT_EQ(menuItem(*window, "mnuTextPopupCaption")->text(), QStringLiteral("Caption"));
    rtbText(*window)->setText(QStringLiteral("input"));
    rtbResult(*window)->setText(QStringLiteral("result"));
    setClipboardText(QStringLiteral("PASTED "));
    rightClick(rtbText(*window));
    EXPECT_EQ(openings.back().heading, QStringLiteral("TEXT OPTIONS"));
    EXPECT_EQ(window->focusWidget(), rtbText(*window));

    rtbResult(*window)->setSelStart(0);
    rightClick(rtbResult(*window), menuItem(*window, "mnuTextPopupPaste"));
    EXPECT_EQ(openings.back().heading, QStringLiteral("RESULT OPTIONS"));
    EXPECT_EQ(window->focusWidget(), rtbResult(*window));
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("PASTED result"));
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("input"));

    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupSelectAll"));
    EXPECT_EQ(rtbText(*window)->selText(), QStringLiteral("input"));
    EXPECT_TRUE(rtbResult(*window)->selText().isEmpty());
}

TEST_F(PanePopup, TheHeadingDoesNothing)
{
    rtbText(*window)->setText(QStringLiteral("abc"));
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupCaption"));
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("abc"));
    EXPECT_TRUE(dialogs->shown.empty());
}

// The real menu, shown at the pointer; closed from a timer so that the test
// goes on. Set WORDLOOM_POPUP_PNG to a file name to keep a picture of it.
TEST_F(PanePopup, TheRealMenuOpensAtThePointer)
{
    dialogs->onPopup = nullptr;
    rtbText(*window)->setText(QStringLiteral("Hello world"));
    select(rtbText(*window), 0, 5);
    QWidget *shown = nullptr;
    QPoint shownAt;
    QTimer::singleShot(50, window.get(), [&] {
        shown = QApplication::activePopupWidget();
        if (!shown)
            return;
        shownAt = shown->pos();
        const QString file = qEnvironmentVariable("WORDLOOM_POPUP_PNG");
        if (!file.isEmpty())
            shown->grab().save(file);
        shown->close();
    });
    rightClick(rtbText(*window));
    EXPECT_EQ(shown, popupMenu(*window));
    EXPECT_EQ(shownAt, QCursor::pos());
    EXPECT_FALSE(popupMenu(*window)->isVisible());
}

class PaneEditing : public PopupFixture {};

TEST_F(PaneEditing, CutMovesTheSelectionToTheClipboard)
{
    rtbText(*window)->setText(QStringLiteral("Hello"));
    select(rtbText(*window), 3, 2);
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupCut"));
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("Hel"));
    EXPECT_EQ(clipboardText(), QStringLiteral("lo"));
    EXPECT_EQ(rtbText(*window)->selStart(), 3);
}

TEST_F(PaneEditing, CopyKeepsThePane)
{
    setClipboardText(QStringLiteral("old"));
    rtbText(*window)->setText(QStringLiteral("one\r\ntwo"));
    select(rtbText(*window), 2, 3);
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupCopy"));
    EXPECT_EQ(clipboardText(), QStringLiteral("e\nt")) << "the desktop's line break";
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(rtbText(*window)->selStart(), 2);
    EXPECT_EQ(rtbText(*window)->selLength(), 3);
}

TEST_F(PaneEditing, PasteAppendsAtTheEndOrReplacesTheSelection)
{
    rtbText(*window)->setText(QStringLiteral("abc"));
    setClipboardText(QStringLiteral("XY"));
    rtbText(*window)->setSelStart(3);
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupPaste"));
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("abcXY"));
    select(rtbText(*window), 1, 2);
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupPaste"));
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("aXYXY"));
    EXPECT_EQ(clipboardText(), QStringLiteral("XY"));
}

TEST_F(PaneEditing, PastedLineBreaksReadTheSameWhateverTheirForm)
{
    for (const QString &pasted : {QStringLiteral("1\n2\n"), QStringLiteral("1\r\n2\r\n"), QStringLiteral("1\r2\r")}) {
        rtbText(*window)->setText(QStringLiteral("<>"));
        setClipboardText(pasted);
        rtbText(*window)->setSelStart(1);
        rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupPaste"));
        EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("<1\r\n2\r\n>")) << pasted.toStdString();
        EXPECT_EQ(rtbText(*window)->toPlainText(), QStringLiteral("<1\n2\n>")) << "shown as three lines";
    }
}

TEST_F(PaneEditing, DeleteLeavesTheClipboard)
{
    setClipboardText(QStringLiteral("keep"));
    rtbText(*window)->setText(QStringLiteral("Hello"));
    select(rtbText(*window), 0, 2);
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupDelete"));
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("llo"));
    EXPECT_EQ(clipboardText(), QStringLiteral("keep"));
}

TEST_F(PaneEditing, SelectAllCoversEveryLine)
{
    rtbText(*window)->setText(QStringLiteral("abc"));
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupSelectAll"));
    EXPECT_EQ(rtbText(*window)->selStart(), 0);
    EXPECT_EQ(rtbText(*window)->selLength(), 3);

    const QString lines = QStringLiteral("one\r\ntwo\r\n\r\nthree\r\n");
    rtbText(*window)->setText(lines);
    rtbText(*window)->setSelStart(4);
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupSelectAll"));
    EXPECT_EQ(rtbText(*window)->selText(), lines);
    // Cut of everything and Paste back restore the text.
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupCut"));
    EXPECT_TRUE(rtbText(*window)->Text().isEmpty());
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupPaste"));
    EXPECT_EQ(rtbText(*window)->Text(), lines);
}

} // namespace

namespace {

TEST_F(PaneEditing, AFailingMenuIsReportedAndTheWindowGoesOn)
{
    const auto normalMenu = dialogs->onPopup;
    dialogs->onPopup = [](QMenu &) { throw std::bad_alloc(); };
    rtbText(*window)->setText(QStringLiteral("keep"));
    rightClick(rtbText(*window));
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].kind, QStringLiteral("failure"));
    EXPECT_TRUE(dialogs->shown[0].text.contains(QStringLiteral("memory")));
    EXPECT_EQ(rtbText(*window)->Text(), QStringLiteral("keep"));

    dialogs->onPopup = normalMenu;
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupSelectAll"));
    EXPECT_EQ(rtbText(*window)->selLength(), 4);
}

} // namespace
