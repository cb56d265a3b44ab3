// The settings store under stress: leftover locks, names that are not files,
// and several writers at once.
#include "Patience.h"
#include "basLibForm.h"
#include "frmWordloom.h"
#include "PlacementStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <optional>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using wordloom::SettingsStore;
using wordloom::Twips;
using wordloom::frmWordloom;

namespace {

class SettingsStoreFile : public wordloom::testing::PlacementStoreTest {
protected:
    QString path(const char *name = "Wordloom.conf") const { return QDir(folder.path()).filePath(QLatin1String(name)); }

    // Opens and closes a main window keeping its placement in `store`; the
    // time both took, in milliseconds.
    static qint64 startAndClose(const SettingsStore &store, QRect *frame = nullptr)
    {
        QElapsedTimer timer;
        timer.start();
        wordloom::WindowServices services;
        services.settings = store;
        frmWordloom window(std::move(services));
        window.show();
        // A placement is stored only once the screen has the window.
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window, wordloom::testing::kPatienceMs));
        if (frame)
            *frame = window.frameGeometry();
        window.close();
        return timer.elapsed();
    }
    qint64 startAndClose(QRect *frame = nullptr) const { return startAndClose(settings, frame); }
    // Less than a second beyond what a start and close take here and now with
    // nothing in the way, in a folder of their own: a busy machine slows both.
    qint64 undelayed() const
    {
        QTemporaryDir elsewhere;
        const qint64 usual = startAndClose(SettingsStore(elsewhere.path()));
        return 2 * usual + 1000;
    }
};

// A blocking open of a FIFO would hang the test for good: end it loudly instead.
struct HangGuard {
    HangGuard() { ::alarm(60); }
    ~HangGuard() { ::alarm(0); }
};

TEST_F(SettingsStoreFile, LeftoverLockFilesDelayNeitherStartNorClose)
{
    for (const char *lock : {"Wordloom.conf.lock", "Wordloom.conf.flock"}) {
        SCOPED_TRACE(lock);
        QFile(path(lock)).open(QIODevice::WriteOnly | QIODevice::Truncate); // empty, as a killed writer leaves it
        EXPECT_LT(startAndClose(), undelayed());
        EXPECT_EQ(stored("frmWordloom", "SaveSize"), "True");
    }
}

TEST_F(SettingsStoreFile, ALockHeldForeverDelaysACloseByLessThanASecondAndTheCloseStillStores)
{
    startAndClose();
    const int holder = ::open(QFile::encodeName(path("Wordloom.conf.flock")).constData(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    store("frmWordloom", "Width", "1"); // absurd: the close must replace it
    EXPECT_LT(startAndClose(), undelayed());
    ::close(holder);
    EXPECT_NE(stored("frmWordloom", "Width"), "1");
}

TEST_F(SettingsStoreFile, ANameThatIsNotAFileIsLeftAloneAndTheWindowOpensAtItsDesignPlace)
{
    const HangGuard guard;
    const QByteArray fifo = QFile::encodeName(path());
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    // Holding the reading end open lets anything written into the FIFO be seen.
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    QRect frame;
    EXPECT_LT(startAndClose(&frame), undelayed());
    EXPECT_EQ(frame.topLeft(), QPoint(Twips::toPixelsX(400), Twips::toPixelsY(700)));
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0) << "something was written into the FIFO";
    ::close(reader);
    EXPECT_EQ(QFileInfo(path()).isFile(), false);
    EXPECT_EQ(stored("frmWordloom", "Top"), "<missing>");

    for (const bool isFolder : {true, false}) { // a folder, then a link to an endless device
        SCOPED_TRACE(isFolder ? "folder" : "/dev/zero");
        QFile::remove(path());
        ASSERT_TRUE(isFolder ? QDir().mkdir(path()) : QFile::link(QStringLiteral("/dev/zero"), path()));
        EXPECT_LT(startAndClose(&frame), undelayed());
        EXPECT_EQ(frame.topLeft(), QPoint(Twips::toPixelsX(400), Twips::toPixelsY(700)));
        EXPECT_EQ(QFileInfo(path()).isDir(), isFolder);
        EXPECT_EQ(QFileInfo(path()).isSymLink(), !isFolder);
        QDir().rmdir(path());
    }
}

// Root reads every file: the parts that must meet an unreadable file run as
// nobody, in a folder nobody may enter.
class AsNobody {
public:
    explicit AsNobody(const QString &folder) : folder_(QFile::encodeName(folder))
    {
        if (::geteuid() != 0)
            return;
        ::chmod(folder_.constData(), 0755);
        dropped_ = ::seteuid(65534) == 0;
        EXPECT_TRUE(dropped_);
    }
    ~AsNobody()
    {
        if (dropped_) {
            EXPECT_EQ(::seteuid(0), 0);
        }
        ::chmod(folder_.constData(), 0700);
    }

private:
    QByteArray folder_;
    bool dropped_ = false;
};

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A settings file that cannot be read whole is not ours: it is left as it is,
// the window opens at its design place and its close stores nothing. Neither
// is a placement stored that the window never had on a screen. A temporary
// file of an interrupted save is removed at the next start, unless a save may
// be running now. The first row shows that a file that is ours is rewritten.
TEST_F(SettingsStoreFile, WhatIsNotOursOrNotSeenIsLeftAsItIs)
{
    const QByteArray placed = "[frmWordloom]\nWindowState=0\nSaveSize=True\nTop=1500\nLeft=1650\n";
    const QByteArray foreign = "[Other]\nkeep=me\n";
    const QPoint storedPlace(Twips::toPixelsX(1650), Twips::toPixelsY(1500));
    const QPoint designPlace(Twips::toPixelsX(400), Twips::toPixelsY(700));
    enum class Start { Shown, ShownAsNobody, ClosedBeforeShown };
    const struct {
        const char *name;
        QByteArray bytes;
        QFile::Permissions permissions;
        Start start;
        bool rewritten;
        QPoint place;
    } rows[] = {
        {"readable and within the limit", foreign + placed, QFile::ReadOwner | QFile::WriteOwner, Start::Shown, true,
         storedPlace},
        {"unreadable", foreign + placed, QFile::WriteOwner, Start::ShownAsNobody, false, designPlace},
        {"over the limit", foreign + "big=" + QByteArray(2 << 20, 'x') + "\n" + placed,
         QFile::ReadOwner | QFile::WriteOwner, Start::Shown, false, designPlace},
        {"closed before the screen had it, stored off every screen",
         foreign + "[frmWordloom]\nWindowState=0\nSaveSize=True\nTop=-300000\nLeft=-300000\n",
         QFile::ReadOwner | QFile::WriteOwner, Start::ClosedBeforeShown, false, QPoint()},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(path());
        {
            QFile file(path());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(row.bytes);
        }
        ASSERT_TRUE(QFile::setPermissions(path(), row.permissions));
        QRect frame;
        if (row.start == Start::ClosedBeforeShown) {
            frmWordloom window(services());
            window.show();
            window.close();
        } else {
            std::optional<AsNobody> nobody;
            if (row.start == Start::ShownAsNobody)
                nobody.emplace(folder.path());
            startAndClose(&frame);
        }
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray after = contentsOf(path());
        if (row.rewritten) {
            EXPECT_NE(after, row.bytes);
            EXPECT_TRUE(after.startsWith(foreign)) << after.left(100).toStdString();
        } else {
            EXPECT_EQ(after, row.bytes);
        }
        if (row.start != Start::ClosedBeforeShown) {
            EXPECT_EQ(frame.topLeft(), row.place);
        }
        EXPECT_EQ(QDir(folder.path()).entryList({"*.saving-*"}, QDir::Files | QDir::Hidden), QStringList())
            << "no temporary file is left";
    }

    // Left by a save killed before its rename, beside names that are not ours.
    const QStringList notOurs = {"Wordloom.conf.backup", "Wordloom.conf.saving-AbC12", "Wordloom.conf.saving-AbC1234"};
    for (const QString &name : notOurs + QStringList{"Wordloom.conf.saving-AbC123"})
        QFile(path(name.toLatin1().constData())).open(QIODevice::WriteOnly);
    {
        // While another instance holds the lock its save may be under way:
        // the file stays.
        const int holder = ::open(QFile::encodeName(path("Wordloom.conf.flock")).constData(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(::flock(holder, LOCK_EX), 0);
        stored("frmWordloom", "Top");
        ::close(holder);
        EXPECT_TRUE(QFileInfo::exists(path("Wordloom.conf.saving-AbC123")));
    }
    startAndClose();
    EXPECT_FALSE(QFileInfo::exists(path("Wordloom.conf.saving-AbC123")));
    for (const QString &name : notOurs)
        EXPECT_TRUE(QFileInfo::exists(path(name.toLatin1().constData()))) << name.toStdString();
}

// Six keys that belong together, all derived from one number.
SettingsStore::Entries placement(int n)
{
    const QString v = QString::number(n);
    return {{"WindowState", "0"}, {"SaveSize", "True"}, {"Top", v}, {"Left", v}, {"Width", v}, {"Height", v}};
}

bool isWhole(const QMap<QString, QString> &read)
{
    if (read.isEmpty())
        return true; // nothing written yet
    const QString v = read.value("Top");
    QMap<QString, QString> expected;
    for (const auto &[key, value] : placement(v.toInt()))
        expected.insert(key, value);
    return read == expected;
}

TEST_F(SettingsStoreFile, WritersAtOnceNeverLeaveAHalfWrittenPlacementNorLoseEachOthersSection)
{
    // Writers that wait for each other as long as it takes: on a busy
    // machine three writers in a loop may keep one waiting beyond the
    // window's patience, and it then writes anyway.
    const SettingsStore patient(folder.path(), std::chrono::minutes(10));
    std::atomic<bool> done = false;
    std::atomic<int> torn = 0, reads = 0;
    std::thread reader([&] {
        while (!done) {
            torn += !isWhole(patient.readSection("Wordloom", "frmWordloom"));
            ++reads;
        }
    });
    auto writer = [&patient](const char *section, int first) {
        for (int i = 0; i < 150; ++i)
            patient.writeSection("Wordloom", QLatin1String(section), placement(first + i));
    };
    std::thread main1(writer, "frmWordloom", 1000), main2(writer, "frmWordloom", 5000), about(writer, "frmAbout", 9000);
    main1.join();
    main2.join();
    about.join();
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_TRUE(isWhole(settings.readSection("Wordloom", "frmWordloom")));
    const int top = stored("frmWordloom", "Top").toInt();
    EXPECT_TRUE(top == 1149 || top == 5149) << top;
    EXPECT_EQ(stored("frmAbout", "Top"), "9149");
    EXPECT_FALSE(QFileInfo::exists(path("Wordloom.conf.lock")));
}

TEST_F(SettingsStoreFile, TwoWindowsStoringTheirPlacementsAreReadWholeByAnotherInstance)
{
    frmWordloom first(services()), second(services());
    first.setGeometry(100, 110, 640, 480);
    second.setGeometry(130, 140, 700, 500);
    auto placementOf = [](const frmWordloom &w) {
        const QRect frame = w.frameGeometry();
        return QStringList{"0", "True", twipsY(frame.top()), twipsX(frame.left()), twipsX(frame.width()),
                           twipsY(frame.height())};
    };
    const QStringList expected[] = {placementOf(first), placementOf(second)};
    basLibForm::SaveFormPlacement(settings, first, true);
    std::atomic<bool> done = false;
    std::atomic<int> torn = 0;
    std::thread otherInstance([&] {
        while (!done) {
            const auto read = settings.readSection("Wordloom", "frmWordloom");
            QStringList values;
            for (const char *key : {"WindowState", "SaveSize", "Top", "Left", "Width", "Height"})
                values << read.value(QLatin1String(key));
            torn += values != expected[0] && values != expected[1];
        }
    });
    for (int i = 0; i < 100; ++i)
        basLibForm::SaveFormPlacement(settings, i % 2 ? second : first, true);
    done = true;
    otherInstance.join();
    EXPECT_EQ(torn, 0);
}

TEST_F(SettingsStoreFile, ValuesReadAndWrittenAsQtWritesItsIniFiles)
{
    const QStringList values = {"plain", "", " spaced ", "a,b", "semi;colon", "quote\"d", "back\\slash",
                                "two\nlines\r\n", "tab\there", "@at", "ünïcødé", "\x01" "ab"};
    {
        QSettings qt(path(), QSettings::IniFormat);
        for (int i = 0; i < values.size(); ++i)
            qt.setValue(QStringLiteral("frmAbout/k%1").arg(i), values[i]);
        qt.setValue("frmAbout/list", QStringList{"x", "y"});
    }
    const auto read = settings.readSection("Wordloom", "frmAbout");
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(read.value(QStringLiteral("k%1").arg(i), "<missing>"), values[i]) << i;
    EXPECT_FALSE(read.contains("list")) << "a list is not a text";

    QFile::remove(path());
    for (int i = 0; i < values.size(); ++i)
        store("frmAbout", QStringLiteral("k%1").arg(i).toLatin1().constData(), values[i]);
    QSettings qt(path(), QSettings::IniFormat);
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(qt.value(QStringLiteral("frmAbout/k%1").arg(i)).toString(), values[i]) << i;
}

} // namespace
