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
#include <condition_variable>
#include <mutex>
#include <sys/stat.h>

using namespace wordloom::testing;

using wordloom::TextPane;
using wordloom::frmWordloom;

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

    // A byte-order mark says UTF-16: what is not UTF-16 after it is refused,
    // never read as U+FFFD. Offsets count the mark's two bytes.
    const struct {
        const char *name;
        QByteArray bytes;
        int offset;
    } notUtf16[] = {
        {"lone-high.txt", QByteArray("\xFF\xFE" "a\0\x00\xD8" "b\0", 8), 4},
        {"lone-low.txt", QByteArray("\xFE\xFF" "\0a\xDC\x00", 6), 4},
        {"reversed.txt", QByteArray("\xFF\xFE" "\x00\xDC\x00\xD8", 6), 2},
        {"high-at-end.txt", QByteArray("\xFF\xFE" "a\0\x3D\xD8", 6), 4},
        {"odd.txt", QByteArray("\xFF\xFE" "a\0b", 5), 4},
    };
    for (const auto &row : notUtf16)
        EXPECT_EQ(refusalOf({file(row.name, row.bytes)}),
                  QStringLiteral("%1 is not valid UTF-16 at byte offset %2 and was not loaded.")
                      .arg(QLatin1String(row.name))
                      .arg(row.offset));
    EXPECT_EQ(rtbText(*window)->Text(), kept);

    QByteArray lateNul(9000, 'y');
    lateNul[8500] = '\0'; // past the first 8 KB: text with a NUL in it
    drop(rtbText(*window), {file("late.txt", lateNul)});
    EXPECT_TRUE(inputBecomes(QString::fromLatin1(lateNul)));
}

// Holds the reading thread at every file named slow.txt until released, as a
// slow disk would; counts the reads that ended and those handed over.
class SlowDisk final : public wordloom::CommandObserver {
public:
    void atStatus(const QString &, const wordloom::CommandState &) override {}
    void atCancelTest() override {}
    void atFileRead(const QString &path) override
    {
        if (!path.endsWith(QLatin1String("slow.txt")))
            return;
        std::unique_lock lock(mutex_);
        ++held_;
        released_.wait(lock, [&] { return release_; });
        release_ = false;
    }
    void atFileReadEnd(bool handedOver) override
    {
        const std::lock_guard lock(mutex_);
        ++ended_;
        handedOver_ += handedOver;
    }
    void release()
    {
        const std::lock_guard lock(mutex_);
        release_ = true;
        released_.notify_all();
    }
    void reset()
    {
        const std::lock_guard lock(mutex_);
        held_ = ended_ = handedOver_ = 0;
    }
    int held() { return count(held_); }
    int ended() { return count(ended_); }
    int handedOver() { return count(handedOver_); }

private:
    int count(const int &n)
    {
        const std::lock_guard lock(mutex_);
        return n;
    }
    std::mutex mutex_;
    std::condition_variable released_;
    bool release_ = false;
    int held_ = 0, ended_ = 0, handedOver_ = 0;
};

// While a slow disk holds the read, the window stays usable and busy; Cancel
// ends the busy state at once and the input pane keeps its text, as does a
// command pressed meanwhile; a close does not wait for the disk.
TEST_F(FileDrop, ASlowReadLeavesTheWindowUsableAndCancelOrACloseStopsIt)
{
    // Never destroyed: a reading thread may meet it after the window has gone.
    static SlowDisk &disk = *new SlowDisk;
    disk.reset(); // every read of an earlier run has ended
    const QString slow = file("slow.txt", "from the slow disk");
    const QString other = file("other.txt", "more");
    wordloom::WindowServices services;
    services.dialogs = std::make_unique<ScriptedDialogs>();
    services.settings = settings;
    services.observer = &disk;
    frmWordloom w(std::move(services));
    w.show();
    QPushButton *cancel = cmd(w, "cmdCancel");
    auto releaseAndWaitForTheEnd = [&](int reads) {
        disk.release();
        EXPECT_TRUE(QTest::qWaitFor([&] { return disk.ended() == reads; }, wordloom::testing::kPatienceMs));
        QCoreApplication::processEvents(); // anything it handed over
    };

    rtbText(w)->setText(QStringLiteral("mine"));
    drop(rtbText(w), {slow, other});
    ASSERT_TRUE(QTest::qWaitFor([&] { return disk.held() == 1; }, wordloom::testing::kPatienceMs));
    EXPECT_TRUE(cancel->isEnabled());
    EXPECT_EQ(sbStatus(w)->panelText(1), QStringLiteral("Status: Reading..."));
    QTest::keyClick(rtbText(w), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(rtbText(w), QStringLiteral(" typed"));
    EXPECT_EQ(rtbText(w)->Text(), QStringLiteral("mine typed")) << "the pane takes keys during the read";
    cancel->click();
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_EQ(sbStatus(w)->panelText(1), QStringLiteral("Status: Cancelled"));
    releaseAndWaitForTheEnd(1);
    EXPECT_EQ(disk.handedOver(), 0);
    EXPECT_EQ(rtbText(w)->Text(), QStringLiteral("mine typed"));

    drop(rtbText(w), {slow});
    ASSERT_TRUE(QTest::qWaitFor([&] { return disk.held() == 2; }, wordloom::testing::kPatienceMs));
    cmd(w, "cmdCase")->click();
    releaseAndWaitForTheEnd(2);
    EXPECT_EQ(disk.handedOver(), 0);
    EXPECT_EQ(rtbResult(w)->Text(), QStringLiteral("MINE TYPED"));
    EXPECT_EQ(rtbText(w)->Text(), QStringLiteral("mine typed"));

    drop(rtbResult(w), {other, slow});
    ASSERT_TRUE(QTest::qWaitFor([&] { return disk.held() == 3; }, wordloom::testing::kPatienceMs));
    releaseAndWaitForTheEnd(3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rtbText(w)->Text() == QStringLiteral("more\r\nfrom the slow disk"); }, wordloom::testing::kPatienceMs))
        << "a read let go hands its text over";
    EXPECT_FALSE(cancel->isEnabled());

    drop(rtbText(w), {slow});
    ASSERT_TRUE(QTest::qWaitFor([&] { return disk.held() == 4; }, wordloom::testing::kPatienceMs));
    w.close(); // returns while the disk still holds the read
    EXPECT_FALSE(w.isVisible());
    releaseAndWaitForTheEnd(4);
    EXPECT_EQ(disk.handedOver(), 1);
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
