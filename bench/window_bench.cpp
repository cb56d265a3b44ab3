// window_bench FILE BUTTON [RUNS] [--cancel-after MS]: the real main window on
// the offscreen platform, FILE pasted into the input pane, BUTTON clicked; prints
// the median milliseconds from the click to the result shown with its final
// status. With --cancel-after, Cancel is clicked MS into the command and the
// delay until the window processed that click is printed too.
#include "frmWordloom.h"
#include "SettingsStore.h"
#include "WindowParts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace wordloom::testing;

namespace {

QString readText(const char *path)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Pasting turns every LF into the pane's CR LF.
    return QString::fromUtf8(file.readAll()).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

struct Run {
    double clickToShownMs;
    double cancelDelayMs = -1;
    QString status;
};

Run runOnce(const QString &text, const char *buttonName, int cancelAfterMs, const QString &settingsFolder)
{
    wordloom::WindowServices services;
    services.settings = wordloom::SettingsStore(settingsFolder); // never the user's own placement
    wordloom::frmWordloom window(std::move(services));
    window.show();
    rtbText(window)->setText(text);
    QApplication::processEvents();
    auto *button = window.findChild<QPushButton *>(QLatin1String(buttonName));
    Run run{};
    QElapsedTimer clock;
    if (cancelAfterMs >= 0) {
        QTimer::singleShot(cancelAfterMs, &window, [&] {
            run.cancelDelayMs = clock.nsecsElapsed() / 1e6 - cancelAfterMs;
            cmd(window, "cmdCancel")->click();
        });
    }
    clock.start();
    button->click();
    rtbResult(window)->viewport()->repaint(); // the result as the user sees it
    run.clickToShownMs = clock.nsecsElapsed() / 1e6;
    run.status = sbStatus(window)->panelText(1);
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings; // the windows' placements, never the user's own
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wordloom"));
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_bench FILE BUTTON [RUNS] [--cancel-after MS]\n");
        return 2;
    }
    const int runs = argc > 3 && argv[3][0] != '-' ? std::max(1, std::atoi(argv[3])) : 3;
    int cancelAfter = -1;
    for (int i = 3; i + 1 < argc; ++i)
        if (QByteArray(argv[i]) == "--cancel-after")
            cancelAfter = std::atoi(argv[i + 1]);
    const QString text = readText(argv[1]);

    std::vector<double> times, delays;
    QString status;
    for (int i = 0; i < runs; ++i) {
        const Run r = runOnce(text, argv[2], cancelAfter, settings.path());
        times.push_back(r.clickToShownMs);
        delays.push_back(r.cancelDelayMs);
        status = r.status;
    }
    std::sort(times.begin(), times.end());
    std::sort(delays.begin(), delays.end());
    std::printf("%s on %lld characters: median %.0f ms click to result (min %.0f, max %.0f), %s",
                argv[2], static_cast<long long>(text.size()), times[times.size() / 2], times.front(),
                times.back(), qPrintable(status));
    if (cancelAfter >= 0)
        std::printf(", a Cancel click due %d ms in was processed %.1f ms late (worst %.1f)", cancelAfter,
                    delays[delays.size() / 2], delays.back());
    std::printf("\n");
    return 0;
}
