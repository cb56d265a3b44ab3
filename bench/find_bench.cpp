// find_bench CORPUS RUNS: times Find in a pane holding the corpus (UTF-8),
// against QString::indexOf and QTextDocument::find on the same text.
#include "basLibRichText.h"
#include "Dialogs.h"
#include "TextPane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Answers every prompt with the needle; the "not found" message just returns.
class Answering final : public wordloom::Dialogs {
public:
    QString needle;
    QString inputBox(const QString &, const QString &, const QString &) override { return needle; }
    void messageBox(const QString &, const QString &) override {}
    void failureBox(const QString &, const QString &) override {}
    void popupMenu(QMenu &) override {}
};

double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &prepare = {})
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wordloom"));
    if (argc < 3) {
        std::fprintf(stderr, "usage: find_bench CORPUS RUNS\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const int runs = std::max(1, atoi(argv[2]));

    wordloom::TextPane pane;
    pane.setText(text);
    const QString paneText = pane.Text();
    Answering dialogs;
    qint32 found = -1;
    // `fresh`: the pane's text is written anew before each run, so that the
    // search also pays for its first look at the document.
    auto findText = [&](const char *needle, bool fresh) {
        dialogs.needle = QString::fromLatin1(needle);
        return medianMs(
            runs,
            [&] {
                QString searchText;
                qint32 position = -1;
                basLibRichText::FindText(pane, searchText, position, dialogs);
                found = position;
            },
            [&] {
                if (fresh)
                    pane.setText(text);
            });
    };
    const double absentFresh = findText("zebra", true);
    const double absent = findText("zebra", false);
    const double nearEnd = findText("NEEDLE", false);
    const qint32 nearEndAt = found;
    const double indexOf = medianMs(runs, [&] {
        found = qint32(paneText.indexOf(QStringLiteral("zebra"), 0, Qt::CaseInsensitive));
    });
    const double docFind = medianMs(runs, [&] { pane.document()->find(QStringLiteral("zebra"), 0); });

    std::printf("pane characters %lld, paragraphs %d\n", static_cast<long long>(paneText.size()),
                pane.document()->blockCount());
    std::printf("FindText not found, first after a write (two passes): %8.1f ms\n", absentFresh);
    std::printf("FindText not found, repeated (two passes):  %8.1f ms\n", absent);
    std::printf("FindText found at %d:      %8.1f ms\n", nearEndAt, nearEnd);
    std::printf("QString::indexOf not found (one pass): %8.1f ms\n", indexOf);
    std::printf("QTextDocument::find not found (one pass): %8.1f ms\n", docFind);
    std::printf("ratio FindText not found / indexOf: first %.2f, repeated %.2f\n", absentFresh / indexOf,
                absent / indexOf);
    return 0;
}
