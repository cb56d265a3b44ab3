#include "support/PopupFixture.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QTimer>
#include <new>

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
    window->rtbText->setText(QString());
    rightClick(window->rtbText);
    ASSERT_EQ(openings.size(), 1u);
    EXPECT_EQ(enabledItems(), QStringList{"Wrap"}) << "empty pane, empty clipboard";

    window->rtbText->setText(QStringLiteral("Hello world"));
    rightClick(window->rtbText);
    EXPECT_EQ(enabledItems(), (QStringList{"SelectAll", "Find", "Wrap"})) << "text, no selection";

    setClipboardText(QStringLiteral("x"));
    rightClick(window->rtbText);
    EXPECT_EQ(enabledItems(), (QStringList{"Paste", "SelectAll", "Find", "Wrap"}));

    select(window->rtbText, 0, 5);
    rightClick(window->rtbText);
    EXPECT_EQ(enabledItems(), (QStringList{"Cut", "Copy", "Paste", "Delete", "SelectAll", "Find", "Wrap"}));

    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(picture);
    rightClick(window->rtbText);
    EXPECT_EQ(enabledItems(), (QStringList{"Cut", "Copy", "Delete", "SelectAll", "Find", "Wrap"}))
        << "a picture is no text";
}

TEST_F(PanePopup, ReadOnlyPaneOffersNoEditing)
{
    window->rtbResult->setText(QStringLiteral("Hello"));
    window->rtbResult->setReadOnly(true);
    setClipboardText(QStringLiteral("x"));
    select(window->rtbResult, 1, 2);
    rightClick(window->rtbResult);
    EXPECT_EQ(enabledItems(), (QStringList{"Copy", "SelectAll", "Find", "Wrap"}));
}

TEST_F(PanePopup, OnlyTheRightButtonOpensTheMenu)
{
    window->rtbText->setText(QString());
    rightClick(window->rtbText); // leaves every editing item greyed
    click(window->rtbText, Qt::LeftButton);
    click(window->rtbResult, Qt::MiddleButton);
    window->rtbText->setText(QStringLiteral("abc"));
    click(window->rtbText, Qt::LeftButton);
    EXPECT_EQ(openings.size(), 1u);
    EXPECT_FALSE(window->mnuTextPopupFind->isEnabled());
    EXPECT_EQ(window->mnuTextPopupCaption->text(), QStringLiteral("TEXT OPTIONS"));
}

TEST_F(PanePopup, HeadingNamesThePaneAndCommandsActOnIt)
{
    EXPECT_EQ(window->mnuTextPopupCaption->text(), QStringLiteral("Caption"));
    window->rtbText->setText(QStringLiteral("input"));
    window->rtbResult->setText(QStringLiteral("result"));
    setClipboardText(QStringLiteral("PASTED "));
    rightClick(window->rtbText);
    EXPECT_EQ(openings.back().heading, QStringLiteral("TEXT OPTIONS"));
    EXPECT_EQ(window->focusWidget(), window->rtbText);

    window->rtbResult->setSelStart(0);
    rightClick(window->rtbResult, window->mnuTextPopupPaste);
    EXPECT_EQ(openings.back().heading, QStringLiteral("RESULT OPTIONS"));
    EXPECT_EQ(window->focusWidget(), window->rtbResult);
    EXPECT_EQ(window->rtbResult->Text(), QStringLiteral("PASTED result"));
    EXPECT_EQ(window->rtbText->Text(), QStringLiteral("input"));

    rightClick(window->rtbText, window->mnuTextPopupSelectAll);
    EXPECT_EQ(window->rtbText->selText(), QStringLiteral("input"));
    EXPECT_TRUE(window->rtbResult->selText().isEmpty());
}

TEST_F(PanePopup, TheHeadingDoesNothing)
{
    window->rtbText->setText(QStringLiteral("abc"));
    rightClick(window->rtbText, window->mnuTextPopupCaption);
    EXPECT_EQ(window->rtbText->Text(), QStringLiteral("abc"));
    EXPECT_TRUE(dialogs->shown.empty());
}

// The real menu, shown at the pointer; closed from a timer so that the test
// goes on. Set WORDLOOM_POPUP_PNG to a file name to keep a picture of it.
TEST_F(PanePopup, TheRealMenuOpensAtThePointer)
{
    dialogs->onPopup = nullptr;
    window->rtbText->setText(QStringLiteral("Hello world"));
    select(window->rtbText, 0, 5);
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
    rightClick(window->rtbText);
    EXPECT_EQ(shown, window->mnuTextPopup);
    EXPECT_EQ(shownAt, QCursor::pos());
    EXPECT_FALSE(window->mnuTextPopup->isVisible());
}

class PaneEditing : public PopupFixture {};

TEST_F(PaneEditing, CutMovesTheSelectionToTheClipboard)
{
    window->rtbText->setText(QStringLiteral("Hello"));
    select(window->rtbText, 3, 2);
    rightClick(window->rtbText, window->mnuTextPopupCut);
    EXPECT_EQ(window->rtbText->Text(), QStringLiteral("Hel"));
    EXPECT_EQ(clipboardText(), QStringLiteral("lo"));
    EXPECT_EQ(window->rtbText->selStart(), 3);
}

TEST_F(PaneEditing, CopyKeepsThePane)
{
    setClipboardText(QStringLiteral("old"));
    window->rtbText->setText(QStringLiteral("one\r\ntwo"));
    select(window->rtbText, 2, 3);
    rightClick(window->rtbText, window->mnuTextPopupCopy);
    EXPECT_EQ(clipboardText(), QStringLiteral("e\r\nt"));
    EXPECT_EQ(window->rtbText->Text(), QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(window->rtbText->selStart(), 2);
    EXPECT_EQ(window->rtbText->selLength(), 3);
}

TEST_F(PaneEditing, PasteAppendsAtTheEndOrReplacesTheSelection)
{
    window->rtbText->setText(QStringLiteral("abc"));
    setClipboardText(QStringLiteral("XY"));
    window->rtbText->setSelStart(3);
    rightClick(window->rtbText, window->mnuTextPopupPaste);
    EXPECT_EQ(window->rtbText->Text(), QStringLiteral("abcXY"));
    select(window->rtbText, 1, 2);
    rightClick(window->rtbText, window->mnuTextPopupPaste);
    EXPECT_EQ(window->rtbText->Text(), QStringLiteral("aXYXY"));
    EXPECT_EQ(clipboardText(), QStringLiteral("XY"));
}

TEST_F(PaneEditing, PastedLineBreaksReadTheSameWhateverTheirForm)
{
    for (const QString &pasted : {QStringLiteral("1\n2\n"), QStringLiteral("1\r\n2\r\n")}) {
        window->rtbText->setText(QStringLiteral("<>"));
        setClipboardText(pasted);
        window->rtbText->setSelStart(1);
        rightClick(window->rtbText, window->mnuTextPopupPaste);
        EXPECT_EQ(window->rtbText->Text(), QStringLiteral("<1\r\n2\r\n>")) << pasted.toStdString();
        EXPECT_EQ(window->rtbText->toPlainText(), QStringLiteral("<1\n2\n>")) << "shown as three lines";
    }
}

TEST_F(PaneEditing, DeleteLeavesTheClipboard)
{
    setClipboardText(QStringLiteral("keep"));
    window->rtbText->setText(QStringLiteral("Hello"));
    select(window->rtbText, 0, 2);
    rightClick(window->rtbText, window->mnuTextPopupDelete);
    EXPECT_EQ(window->rtbText->Text(), QStringLiteral("llo"));
    EXPECT_EQ(clipboardText(), QStringLiteral("keep"));
}

TEST_F(PaneEditing, SelectAllCoversEveryLine)
{
    window->rtbText->setText(QStringLiteral("abc"));
    rightClick(window->rtbText, window->mnuTextPopupSelectAll);
    EXPECT_EQ(window->rtbText->selStart(), 0);
    EXPECT_EQ(window->rtbText->selLength(), 3);

    const QString lines = QStringLiteral("one\r\ntwo\r\n\r\nthree\r\n");
    window->rtbText->setText(lines);
    window->rtbText->setSelStart(4);
    rightClick(window->rtbText, window->mnuTextPopupSelectAll);
    EXPECT_EQ(window->rtbText->selText(), lines);
    // Cut of everything and Paste back restore the text.
    rightClick(window->rtbText, window->mnuTextPopupCut);
    EXPECT_TRUE(window->rtbText->Text().isEmpty());
    rightClick(window->rtbText, window->mnuTextPopupPaste);
    EXPECT_EQ(window->rtbText->Text(), lines);
}

} // namespace

namespace {

TEST_F(PaneEditing, AFailingMenuIsReportedAndTheWindowGoesOn)
{
    const auto normalMenu = dialogs->onPopup;
    dialogs->onPopup = [](QMenu &) { throw std::bad_alloc(); };
    window->rtbText->setText(QStringLiteral("keep"));
    rightClick(window->rtbText);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].kind, QStringLiteral("failure"));
    EXPECT_TRUE(dialogs->shown[0].text.contains(QStringLiteral("memory")));
    EXPECT_EQ(window->rtbText->Text(), QStringLiteral("keep"));

    dialogs->onPopup = normalMenu;
    rightClick(window->rtbText, window->mnuTextPopupSelectAll);
    EXPECT_EQ(window->rtbText->selLength(), 4);
}

} // namespace
