// Hostile settings files and hostile texts: the window stays usable and the
// user's text stays where it was.
#include "PlacementStore.h"
#include "WindowParts.h"
#include "WindowFixture.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QScreen>

using namespace wordloom::testing;

using wordloom::Twips;
using wordloom::frmWordloom;

namespace {

class HostileSettings : public wordloom::testing::PlacementStoreTest {
protected:
    void writeFile(const QByteArray &bytes)
    {
        const QString path = QDir(folder.path()).filePath(QStringLiteral("Wordloom.conf"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
};

QByteArray garbage()
{
    QByteArray bytes(4096, '\0');
    QRandomGenerator random(7);
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

TEST_F(HostileSettings, AnyFileGivesAVisibleUsableWindowAndTheNextCloseRepairsIt)
{
    const QByteArray files[] = {
        "",
        "[frmWordloom]\nTop=12",                                   // truncated
        garbage(),
        "[frmWordloom]\nWindowState=0\nSaveSize=True\nTop=0\nLeft=0\nWidth=99999999999\nHeight=-5\n",
        "[frmWordloom]\nWindowState=7\nSaveSize=True\nTop=-5000000\nLeft=5000000\nWidth=1e38\nHeight=nan\n",
        "[frmWordloom]\nWindowState=1\nSaveSize=True\nTop=300\nLeft=300\nWidth=10\nHeight=10\n",
    };
    const QRect screens = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    for (const QByteArray &bytes : files) {
        SCOPED_TRACE(bytes.left(60).toStdString());
        writeFile(bytes);
        {
            frmWordloom window(services());
            window.show();
            EXPECT_TRUE(window.isVisible());
            EXPECT_FALSE(window.isMinimized());
            EXPECT_TRUE(screens.intersects(window.frameGeometry()));
            EXPECT_GE(window.height(), Twips::toPixelsY(6172) - window.menuBar()->height() - 2);
            EXPECT_LE(window.width(), screens.width() * 2);
            rtbText(window)->setText(QStringLiteral("still works"));
            cmd(window, "cmdCase")->click();
            EXPECT_EQ(rtbResult(window)->Text(), QStringLiteral("STILL WORKS"));
            window.close();
        }
        for (const char *key : {"Top", "Left", "Width", "Height"}) {
            bool isNumber = false;
            stored("frmWordloom", key).toLongLong(&isNumber);
            EXPECT_TRUE(isNumber) << key << " = " << stored("frmWordloom", key).toStdString();
        }
        EXPECT_EQ(stored("frmWordloom", "WindowState"), QStringLiteral("0"));
        EXPECT_EQ(stored("frmWordloom", "SaveSize"), QStringLiteral("True"));
    }
}

class HostileInput : public wordloom::testing::WindowFixture {};

const char *const kButtons[] = {"cmdCase",        "cmdClean",     "cmdPurify",    "cmdSortLines",
                                "cmdSortWords",   "cmdUniqueLines", "cmdUniqueWords", "cmdWordCount",
                                "cmdPhraseCount", "cmdBinaryCodes"};

TEST_F(HostileInput, EveryCommandOnEveryOddTextEndsReadyAndKeepsTheText)
{
    const QString texts[] = {
        QString(),
        QStringLiteral("\r\n\r\n\r\n\r\n"),
        QStringLiteral("a") + QChar(0) + QStringLiteral("b ") + QChar(0) + QStringLiteral("\r\nb a"),
        QStringLiteral("x ") + QChar(0xD800) + QStringLiteral(" y ") + QChar(0xDC00) + QStringLiteral("x y"),
        QChar(0xFEFF) + QStringLiteral("word word"),
        QStringLiteral("\r\r\n\n\t\t  - -\r\n-"),
    };
    for (const QString &text : texts) {
        for (const char *name : kButtons) {
            SCOPED_TRACE(name);
            rtbText(*window)->setText(text);
            posts.clear();
            button(name)->click();
            EXPECT_EQ(posts.last(), QStringLiteral("Ready"));
            EXPECT_EQ(rtbText(*window)->Text(), text);
            EXPECT_TRUE(dialogs->shown.empty());
        }
    }
}

TEST_F(HostileInput, ManyDistinctWordsAndALongLine)
{
    sbStatus(*window)->setPumpInterval(30); // one post per word: pump as the product does
    QString words;
    for (int i = 0; i < 200000; ++i) {
        QString word;
        for (int n = i; n > 0 || word.isEmpty(); n /= 26)
            word += QChar(u'a' + n % 26);
        words += word + u' ';
    }
    rtbText(*window)->setText(words);
    button("cmdWordCount")->click();
    EXPECT_EQ(posts.last(), QStringLiteral("Ready"));
    EXPECT_EQ(rtbResult(*window)->Text().count(QStringLiteral("\r\n")), 200000);
    EXPECT_TRUE(posts.contains(QStringLiteral("Words: 199999")));

    // Binary Codes makes one line nine times the input's length.
    const QString input(300000, u'x');
    rtbText(*window)->setText(input);
    button("cmdBinaryCodes")->click();
    EXPECT_EQ(rtbResult(*window)->Text().size(), 9 * input.size());
}

TEST_F(HostileInput, PhraseCountOnATooRepetitiveTextSaysSoAndKeepsEverything)
{
    QString paragraph;
    for (int i = 0; i < 40; ++i)
        paragraph += QStringLiteral("w%1 ").arg(i);
    const QString text = paragraph.repeated(60);
    open(64 * 1024); // bytes for the phrases
    sbStatus(*window)->setPumpInterval(30);
    rtbResult(*window)->setText(QStringLiteral("before"));
    rtbText(*window)->setText(text);
    button("cmdPhraseCount")->click();
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_TRUE(dialogs->shown[0].text.contains(QStringLiteral("Phrase Count")));
    EXPECT_TRUE(dialogs->shown[0].text.contains(QStringLiteral("repetitive")));
    EXPECT_EQ(rtbText(*window)->Text(), text);
    EXPECT_EQ(rtbResult(*window)->Text(), QStringLiteral("before"));
    EXPECT_FALSE(button("cmdCancel")->isEnabled());
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

} // namespace
