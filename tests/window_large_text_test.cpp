// Text arriving and leaving the way a person moves it: Ctrl+V, the menu,
// drag and drop, Ctrl+A with Ctrl+C. Each must take the fast path (only the
// shown lines laid out) and copy exactly what the pane holds.
#include "PopupFixture.h"
#include "WindowParts.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QTextBlock>
#include <QTextLayout>

using namespace wordloom::testing;

using wordloom::TextPane;
using wordloom::testing::PopupFixture;

namespace {

// About 4 MB of short lines, like a word list; the pane's breaks are CR LF,
// the clipboard's LF.
QString wordList(int lines, QStringView lineBreak = u"\r\n")
{
    QString text;
    text.reserve(qsizetype(lines) * 12);
    unsigned x = 7;
    for (int i = 0; i < lines; ++i) {
        const int length = 3 + int((x = x * 1103515245u + 12345u) >> 28) % 8;
        for (int k = 0; k < length; ++k)
            text += QChar(u'a' + int((x = x * 1103515245u + 12345u) >> 27) % 26);
        text += lineBreak;
    }
    return text;
}

// Blocks the pane has laid out: those shown, never the whole text.
int laidOutBlocks(const TextPane *pane)
{
    int count = 0;
    for (QTextBlock b = pane->document()->firstBlock(); b.isValid(); b = b.next())
        if (b.layout() && b.layout()->lineCount() > 0)
            ++count;
    return count;
}

class LargeText : public PopupFixture {
protected:
    void SetUp() override
    {
        PopupFixture::SetUp();
        window->resize(900, 700);
        rtbText(*window)->setText(QString());
        rtbText(*window)->setFocus();
    }
    // The pane shown and idle, as a person would see it after the action.
    void settle(TextPane *pane)
    {
        pane->repaint();
        QCoreApplication::processEvents();
    }
    void expectFastPath(TextPane *pane, const QString &text, int lines)
    {
        settle(pane);
        EXPECT_EQ(pane->Text(), text);
        EXPECT_LE(pane->document()->blockCount(), lines / 32 + 2) << "lines grouped into few blocks";
        EXPECT_LT(laidOutBlocks(pane), 20) << "only the shown lines are laid out";
    }
    static constexpr int kLines = 400000;
};

TEST_F(LargeText, CtrlVTakesTheFastPath)
{
    const QString text = wordList(kLines);
    setClipboardText(text);
    QTest::keyClick(rtbText(*window), Qt::Key_V, Qt::ControlModifier);
    expectFastPath(rtbText(*window), text, kLines);
}

TEST_F(LargeText, MenuPasteTakesTheFastPath)
{
    const QString text = wordList(kLines);
    setClipboardText(text);
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupPaste"));
    expectFastPath(rtbText(*window), text, kLines);
}

TEST_F(LargeText, DropTakesTheFastPath)
{
    const QString text = wordList(kLines);
    QMimeData data;
    data.setText(text);
    QWidget *target = rtbText(*window)->viewport();
    const QPoint at(10, 10);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    expectFastPath(rtbText(*window), text, kLines);
}

TEST_F(LargeText, ACommandsLongResultTakesTheFastPath)
{
    rtbText(*window)->setText(wordList(kLines));
    button("cmdSortLines")->click();
    EXPECT_EQ(panel(), QStringLiteral("Status: Ready"));
    settle(rtbResult(*window));
    EXPECT_LT(laidOutBlocks(rtbResult(*window)), 20);
    EXPECT_LT(laidOutBlocks(rtbText(*window)), 20);
}

TEST_F(LargeText, SelectAllAndCopyGiveTheWholeText)
{
    const QString text = wordList(kLines);
    rtbText(*window)->setText(text);
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupSelectAll"));
    rightClick(rtbText(*window), menuItem(*window, "mnuTextPopupCopy"));
    EXPECT_EQ(clipboardText(), wordList(kLines, u"\n"));
    EXPECT_LT(laidOutBlocks(rtbText(*window)), 20);
}

// Where there is a primary selection (X11), Ctrl+A makes the whole text the
// primary selection, served when asked; Ctrl+C still puts a copy on the
// clipboard that outlives the pane's text.
TEST_F(LargeText, CtrlAOffersThePrimarySelectionAndCtrlCACopy)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        GTEST_SKIP() << "no primary selection on this platform";
    TextPane *pane = rtbText(*window);
    const QString text = wordList(kLines / 4);
    pane->setText(text);
    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(QClipboard::Selection), wordList(kLines / 4, u"\n"));
    QTest::keyClick(pane, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_Delete);
    EXPECT_EQ(pane->Text(), QString());
    EXPECT_EQ(clipboardText(), wordList(kLines / 4, u"\n")) << "the copy outlives the text";
}

// Lines around and far beyond the piece length the pane shows them in.
class LongLineCopies : public PopupFixture, public ::testing::WithParamInterface<int> {
protected:
    QString longLineText(QStringView lineBreak = u"\r\n") const
    {
        QString line;
        for (int i = 0; i < GetParam(); ++i)
            line += QChar(u'a' + i % 26);
        const QString br = lineBreak.toString();
        return QStringLiteral("first") + br + line + br + line + QStringLiteral("!");
    }
};

TEST_P(LongLineCopies, MenuSelectAllCopyCutAndDeleteTakeEveryCharacter)
{
    const QString text = longLineText();
    TextPane *pane = rtbText(*window);
    pane->setText(text);
    rightClick(pane, menuItem(*window, "mnuTextPopupSelectAll"));
    EXPECT_EQ(pane->selLength(), text.size() - 2) << "a line break is one position";
    rightClick(pane, menuItem(*window, "mnuTextPopupCopy"));
    EXPECT_EQ(clipboardText(), longLineText(u"\n"));
    rightClick(pane, menuItem(*window, "mnuTextPopupCut"));
    EXPECT_EQ(clipboardText(), longLineText(u"\n"));
    EXPECT_EQ(pane->Text(), QString());

    pane->setText(text);
    rightClick(pane, menuItem(*window, "mnuTextPopupSelectAll"));
    rightClick(pane, menuItem(*window, "mnuTextPopupDelete"));
    EXPECT_EQ(pane->Text(), QString());
}

TEST_P(LongLineCopies, KeyboardSelectAllCopyAndCutTakeEveryCharacter)
{
    const QString text = longLineText();
    TextPane *pane = rtbText(*window);
    pane->setText(text);
    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboardText(), longLineText(u"\n")) << "no stray line breaks";
    QTest::keyClick(pane, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboardText(), longLineText(u"\n"));
    EXPECT_EQ(pane->Text(), QString());
    QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pane->Text(), text) << "pasted back whole";
}

TEST_P(LongLineCopies, UndoAndRedoKeepTheLongLineWhole)
{
    const QString text = longLineText();
    TextPane *pane = rtbText(*window);
    pane->setText(QStringLiteral("<>"));
    setClipboardText(text);
    pane->setSelStart(1);
    QTest::keyClick(pane, Qt::Key_V, Qt::ControlModifier);
    const QString pasted = QStringLiteral("<") + text + QStringLiteral(">");
    ASSERT_EQ(pane->Text(), pasted);
    // Delete a stretch across the pieces, then take it all back and again.
    pane->setSelStart(3);
    pane->setSelLength(int(text.size()) - 6);
    QTest::keyClick(pane, Qt::Key_Delete);
    const QString deleted = pane->Text();
    QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pane->Text(), pasted);
    QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pane->Text(), deleted);
    QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pane->Text(), QStringLiteral("<>"));
    QTest::keyClick(pane, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pane->Text(), pasted);
}

TEST_P(LongLineCopies, APartOfTheLineCopiesExactly)
{
    const QString text = longLineText();
    TextPane *pane = rtbText(*window);
    pane->setText(text);
    // From inside the first long line to inside the second; the first line
    // break is one position in the pane, two characters in the text.
    const int from = 6 + GetParam() / 2, length = GetParam();
    pane->setSelStart(from);
    pane->setSelLength(length);
    const QString expected = text.mid(from + 1, length + 1);
    EXPECT_EQ(pane->selText(), expected);
    rightClick(pane, menuItem(*window, "mnuTextPopupCopy"));
    EXPECT_EQ(clipboardText(), longLineText(u"\n").mid(from, length));
}

INSTANTIATE_TEST_SUITE_P(AroundThePieceLength, LongLineCopies, ::testing::Values(4095, 4096, 4097, 100000));

TEST_F(LargeText, ASingleLineOfMegabytesPastesWholeAndShowsInPieces)
{
    QString line(5'000'000, u'x');
    line[2'500'000] = QChar(0); // a NUL travels like any character
    setClipboardText(line);
    QTest::keyClick(rtbText(*window), Qt::Key_V, Qt::ControlModifier);
    settle(rtbText(*window));
    EXPECT_EQ(rtbText(*window)->Text(), line);
    EXPECT_LT(laidOutBlocks(rtbText(*window)), 20);
    QTest::keyClick(rtbText(*window), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(rtbText(*window), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboardText(), line);
}

TEST_F(LargeText, PastingWhileACommandRunsKeepsBothTexts)
{
    const QString text = wordList(20000);
    rtbText(*window)->setText(text);
    rtbText(*window)->moveCursor(QTextCursor::End);
    setClipboardText(QStringLiteral("pasted"));
    onPost = [this](const QString &status) {
        if (status == QStringLiteral("Sorting..."))
            QTest::keyClick(rtbText(*window), Qt::Key_V, Qt::ControlModifier);
    };
    button("cmdSortLines")->click();
    EXPECT_EQ(panel(), QStringLiteral("Status: Ready"));
    EXPECT_EQ(rtbText(*window)->Text(), text + QStringLiteral("pasted"));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.sort();
    EXPECT_EQ(rtbResult(*window)->Text(), lines.join(QStringLiteral("\r\n"))) << "sorted what was there at the start";
}

TEST_F(LargeText, EnterBesideAPieceBreakIsARealLineBreak)
{
    TextPane *pane = rtbText(*window);
    const QString line(3 * 4096, u'x');
    pane->setText(line);
    // Empty the second piece, then type a line break where it was.
    pane->setSelStart(4096);
    pane->setSelLength(4096);
    QTest::keyClick(pane, Qt::Key_Delete);
    QTest::keyClick(pane, Qt::Key_Return);
    EXPECT_EQ(pane->Text(), QString(4096, u'x') + QStringLiteral("\r\n") + QString(4096, u'x'));
}

} // namespace
