#include "Clipboard.h"
#include "PaneDisplayText.h"
#include "TextPane.h"
#include "TextGenerator.h"
#include "QtPrinters.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using wordloom::TextPane;

namespace {

TEST(TextPane, WrittenTextReadsBackExactly)
{
    TextPane pane;
    const QString samples[] = {
        QStringLiteral("a\r\nb"),
        QStringLiteral("no\u00A0break\tand tab"),
        QStringLiteral("lone\rCR and lone\nLF"),
        QStringLiteral("ends with\r\n"),
        QString(),
        QStringLiteral("nul\u0000inside") + QChar(0) + QStringLiteral("x"),
        QStringLiteral("pair \U0001F600 and lone ") + QChar(0xD800),
    };
    for (const QString &s : samples) {
        pane.setText(s);
        EXPECT_EQ(pane.Text(), s) << s.toStdString();
    }
}

TEST(TextPane, EditedTextReadsParagraphBreaksAsCrLf)
{
    TextPane pane;
    pane.setText(QStringLiteral("x\u00A0y"));
    pane.moveCursor(QTextCursor::End);
    QTest::keyClick(&pane, Qt::Key_Return);
    QTest::keyClicks(&pane, QStringLiteral("z"));
    QTest::keyClick(&pane, Qt::Key_Return, Qt::ShiftModifier); // a line separator
    QTest::keyClick(&pane, Qt::Key_Tab);
    EXPECT_EQ(pane.Text(), QStringLiteral("x\u00A0y\r\nz\r\n\t"));
}

TEST(TextPane, CrLfShowsAsOneLineBreak)
{
    TextPane pane;
    pane.setText(QStringLiteral("one\r\ntwo\r\n"));
    EXPECT_EQ(pane.toPlainText(), QStringLiteral("one\ntwo\n"));
}

TEST(TextPane, ManyLinesReadBackAfterAnEdit)
{
    QString text;
    for (int i = 0; i < 100; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    TextPane pane;
    pane.setText(text);
    pane.moveCursor(QTextCursor::End);
    QTest::keyClicks(&pane, QStringLiteral("tail"));
    EXPECT_EQ(pane.Text(), text + QStringLiteral("tail"));
    // Positions count one per line break, as the pane shows them.
    pane.setSelStart(0);
    pane.setSelLength(int(text.size()) - 100);
    EXPECT_EQ(pane.selText(), text);
}

} // namespace

namespace {

TEST(TextPane, AVeryLongLineIsShownInPiecesButReadsBackWhole)
{
    const QString line = QString(10000, u'a') + QString(5000, u'b');
    TextPane pane;
    pane.setText(line + QStringLiteral("\r\nshort"));
    EXPECT_EQ(pane.document()->blockCount(), 4) << "shown in pieces of at most 4,096 characters";

    pane.moveCursor(QTextCursor::End);
    QTest::keyClicks(&pane, QStringLiteral("!"));
    EXPECT_EQ(pane.Text(), line + QStringLiteral("\r\nshort!"));

    // Typing right at a piece's edge, and removing the piece's break itself.
    QTextCursor c(pane.document());
    c.setPosition(4096);
    c.insertText(QStringLiteral("X"));
    EXPECT_EQ(pane.Text(), line.left(4096) + QStringLiteral("X") + line.mid(4096) + QStringLiteral("\r\nshort!"));
    c.setPosition(4097);
    c.deleteChar(); // the added break
    EXPECT_EQ(pane.Text(), line.left(4096) + QStringLiteral("X") + line.mid(4096) + QStringLiteral("\r\nshort!"));
    c.insertText(QStringLiteral("\n"));
    EXPECT_EQ(pane.Text(), line.left(4096) + QStringLiteral("X\r\n") + line.mid(4096) + QStringLiteral("\r\nshort!"));

    pane.setSelStart(4000);
    pane.setSelLength(200);
    EXPECT_EQ(pane.selText(), (line.left(4096) + QStringLiteral("X\r\n") + line.mid(4096)).mid(4000, 200 + 1));
}

} // namespace

namespace {

TEST(TextPane, FindSeesThroughTheBreaksOfALongLine)
{
    QString line(9000, u'.');
    line.replace(4094, 5, QStringLiteral("NEEDL")); // spans the first display break
    line.replace(8500, 3, QStringLiteral("pin"));
    TextPane pane;
    pane.setText(line);
    const int at = pane.find(QStringLiteral("needl"), 0);
    EXPECT_EQ(at, 4094);
    EXPECT_EQ(pane.selText(), QStringLiteral("NEEDL"));
    const int pin = pane.find(QStringLiteral("PIN"), at + 1);
    EXPECT_EQ(pin, 8500) << "the display breaks take no position";
    EXPECT_EQ(pane.selText(), QStringLiteral("pin"));
    EXPECT_EQ(pane.find(QStringLiteral("pin"), pin + 1), -1);
}

} // namespace

namespace {

// Built a piece at a time, the document text is the same as built at once.
TEST(PaneDisplayText, PieceByPieceEqualsWhole)
{
    using namespace wordloom::PaneDisplayText;
    wordloom::testing::TextGenerator generator(11);
    for (int round = 0; round < 300; ++round) {
        QString text = generator.text(400);
        if (generator.below(4) == 0)
            text.insert(generator.below(int(text.size()) + 1), QString(4096 + generator.below(9000), u'w'));
        std::vector<int> wholeBreaks;
        const QString whole = toDocument(text, wholeBreaks);

        DocumentTextBuilder builder;
        std::vector<int> breaks;
        QString pieces;
        for (qsizetype start = 0; start < text.size();) {
            qsizetype n = std::min<qsizetype>(1 + generator.below(3000), text.size() - start);
            if (text[start + n - 1] == u'\r' && start + n < text.size() && text[start + n] == u'\n')
                ++n;
            std::vector<int> pieceBreaks;
            const QString piece = builder.next(QStringView(text).sliced(start, n), pieceBreaks);
            for (int at : pieceBreaks)
                breaks.push_back(int(pieces.size()) + at);
            pieces += piece;
            start += n;
        }
        ASSERT_EQ(pieces, whole) << round;
        ASSERT_EQ(breaks, wholeBreaks) << round;
        // Read back, every line break is CR LF and the display breaks are gone.
        QString expected = text;
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        expected.replace(QChar::LineSeparator, u'\n').replace(QChar::ParagraphSeparator, u'\n');
        expected.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        ASSERT_EQ(fromDocument(whole, 0, wholeBreaks), expected) << round;
    }
}

} // namespace

namespace {

QString manyLines(int lines)
{
    QString text;
    for (int i = 0; i < lines; ++i)
        text += QStringLiteral("line %1 of a long text\r\n").arg(i);
    return text;
}

TEST(TextPanePacing, EventsRunBetweenThePiecesOfALongWrite)
{
    const QString text = manyLines(150000); // over three megabytes
    TextPane pane;
    pane.setPacing(true, 0);
    int timersRun = 0;
    bool sawWholeText = false;
    QTimer::singleShot(0, &pane, [&] {
        ++timersRun;
        sawWholeText = pane.Text() == text;
    });
    pane.setText(text);
    EXPECT_EQ(timersRun, 1) << "ran during the write";
    EXPECT_TRUE(sawWholeText) << "Text() is the text being written, even halfway";
    EXPECT_EQ(pane.Text(), text);
    EXPECT_EQ(pane.toPlainText().size(), text.size() - text.count(u'\r'));
}

TEST(TextPanePacing, AWriteMeanwhileTakesOver)
{
    TextPane pane;
    pane.setPacing(true, 0);
    QTimer::singleShot(0, &pane, [&] { pane.setText(QStringLiteral("later")); });
    pane.setText(manyLines(150000));
    EXPECT_EQ(pane.Text(), QStringLiteral("later"));
    EXPECT_EQ(pane.toPlainText(), QStringLiteral("later"));
    pane.moveCursor(QTextCursor::End);
    QTest::keyClicks(&pane, QStringLiteral("!"));
    EXPECT_EQ(pane.Text(), QStringLiteral("later!")) << "edits are seen again";
    QTest::keyClick(&pane, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(pane.Text(), QStringLiteral("later")) << "and can be undone";
}

} // namespace


namespace {

TEST(ClipboardText, EachCrLfBecomesLfAndNothingElseChanges)
{
    const struct {
        const char16_t *pane, *clipboard;
    } rows[] = {
        {u"", u""},
        {u"a\r\nb", u"a\nb"},
        {u"a\rb\r\n\r\n", u"a\rb\n\n"}, // a lone CR stays
        {u"\r", u"\r"},
        {u"\r\r\n", u"\r\n"},
        {u"x\n\u00A0\r\n", u"x\n\u00A0\n"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(wordloom::withLineFeeds(QString::fromUtf16(row.pane)), QString::fromUtf16(row.clipboard));
}

} // namespace
