// Files dropped on either pane: their text replaces the input pane's, read
// exactly when Unicode and as code page 1252 otherwise; what cannot be read
// is refused with a message and leaves the pane as it was.
#include "Patience.h"
#include "WindowFixture.h"
#include "WindowParts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <sys/stat.h>

using namespace wordloom::testing;

using wordloom::TextPane;

namespace {

class FileDrop : public WindowFixture {
protected:
    QString file(const char *name, const QByteArray &bytes)
    {
        const QString path = folder.filePath(QLatin1String(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    // Drags the files over the pane and drops them, as a file manager does.
    static void drop(TextPane *pane, const QStringList &paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(pane->viewport(), &enter);
        ASSERT_TRUE(enter.isAccepted()) << "the pane takes files";
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(pane->viewport(), &move);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(pane->viewport(), &dropped);
    }
    bool inputBecomes(const QString &text)
    {
        return QTest::qWaitFor([&] { return rtbText(*window)->Text() == text; }, wordloom::testing::kPatienceMs);
    }
    // Drops the files, waits for the refusal and returns its text.
    QString refusalOf(const QStringList &paths)
    {
        const size_t before = dialogs->shown.size();
        drop(rtbText(*window), paths);
        if (!QTest::qWaitFor([&] { return dialogs->shown.size() > before; }, wordloom::testing::kPatienceMs))
            return QStringLiteral("<no message>");
        return dialogs->shown.back().text;
    }
    QTemporaryDir dir; // before the folder that names it
    QDir folder{dir.path()};
};

TEST_F(FileDrop, UnicodeIsReadExactlyAndOtherBytesAsCodePage1252OnEitherPane)
{
    const QString expected = QStringLiteral("h\u00e9llo\r\nw\u00f6rld \U0001F600\ufeff");
    const QString lf = QString(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto utf16 = [&](QSysInfo::Endian endian) {
        QByteArray bytes = endian == QSysInfo::LittleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        for (const QChar c : lf) {
            const char16_t u = c.unicode();
            const char lo = char(u & 0xFF), hi = char(u >> 8);
            bytes.append(endian == QSysInfo::LittleEndian ? lo : hi).append(endian == QSysInfo::LittleEndian ? hi : lo);
        }
        return bytes;
    };
    const QString files[] = {file("plain.txt", lf.toUtf8()), file("bom.txt", "\xEF\xBB\xBF" + lf.toUtf8()),
                             file("le.txt", utf16(QSysInfo::LittleEndian)), file("be.txt", utf16(QSysInfo::BigEndian))};
    for (const QString &path : files) {
        for (TextPane *pane : {rtbText(*window), rtbResult(*window)}) {
            SCOPED_TRACE((QFileInfo(path).fileName() + " on " + pane->objectName()).toStdString());
            rtbText(*window)->setText(QStringLiteral("before"));
            drop(pane, {path});
            EXPECT_TRUE(inputBecomes(expected)) << rtbText(*window)->Text().toStdString();
        }
    }
    EXPECT_EQ(rtbResult(*window)->Text(), QString()) << "the result pane keeps its text";

    drop(rtbText(*window), {file("ansi.txt", "caf\xE9 \x80\r\n\x81\x9F")});
    EXPECT_TRUE(inputBecomes(QStringLiteral("caf\u00e9 \u20ac\r\n\u0081\u0178")));
    EXPECT_EQ(panel(), QStringLiteral("Status: Not Unicode, read as code page 1252: ansi.txt"));
}

TEST_F(FileDrop, SeveralFilesJoinInOrderAndReplaceTheWholeInputPane)
{
    rtbText(*window)->setText(QStringLiteral("old\r\ntext"));
    rtbText(*window)->setSelStart(2);
    drop(rtbResult(*window), {file("a.txt", "one"), file("b.txt", "two\n"), file("c.txt", ""), file("d.txt", "three")});
    EXPECT_TRUE(inputBecomes(QStringLiteral("one\r\ntwo\r\nthree"))) << rtbText(*window)->Text().toStdString();
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(FileDrop, WhatCannotBeReadIsRefusedWithAMessageAndThePaneIsKept)
{
    const QString kept = QStringLiteral("keep me");
    rtbText(*window)->setText(kept);
    QByteArray binary(5000, 'x');
    binary[4000] = '\0';
    const QString big = file("big.txt", "");
    ASSERT_TRUE(QFile::resize(big, 200'000'001)); // sparse: no disk used
    const QString fifo = folder.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    EXPECT_EQ(refusalOf({file("image.bin", binary)}), QStringLiteral("image.bin is not a text file and was not loaded."));
    EXPECT_EQ(refusalOf({big}), QStringLiteral("big.txt is larger than 200 MB and was not loaded."));
    EXPECT_EQ(refusalOf({folder.filePath("gone.txt")}), QStringLiteral("gone.txt cannot be read: No such file or directory."));
    EXPECT_EQ(refusalOf({fifo}), QStringLiteral("pipe cannot be read: Not a regular file."));
    EXPECT_EQ(refusalOf({file("fine.txt", "fine"), big}), QStringLiteral("big.txt is larger than 200 MB and was not loaded."))
        << "one refused file refuses the drop";
    EXPECT_EQ(rtbText(*window)->Text(), kept);

    QByteArray lateNul(9000, 'y');
    lateNul[8500] = '\0'; // past the first 8 KB: text with a NUL in it
    drop(rtbText(*window), {file("late.txt", lateNul)});
    EXPECT_TRUE(inputBecomes(QString::fromLatin1(lateNul)));
}

// How quickly is bench/'s to say (the time is recorded here, not judged): a
// busy machine may take longer, never fail.
TEST_F(FileDrop, ThirtyOneMegabytesShowWholeThroughTheFastPath)
{
    QByteArray bytes;
    bytes.reserve(31'000'000);
    for (int i = 0; bytes.size() < 31'000'000; ++i)
        bytes += "line " + QByteArray::number(qint64(i) * 7919 % 100003) + " of a long word list\n";
    const QString path = file("large.txt", bytes);
    QElapsedTimer timer;
    timer.start();
    drop(rtbText(*window), {path});
    ASSERT_TRUE(QTest::qWaitFor([&] { return rtbText(*window)->Text().size() > bytes.size(); }, wordloom::testing::kPatienceMs));
    const qint64 elapsed = timer.elapsed();
    RecordProperty("milliseconds", int(elapsed));
    EXPECT_EQ(rtbText(*window)->Text().size(), bytes.size() + bytes.count('\n'));
}

} // namespace
