// wordloom-shot OUT.png [BUTTON] [--size=WxH] [--about] [--screen] [--store=DIR]:
// renders the real main window into a picture, after clicking the named command
// button (say, cmdWordCount) on the sample text. --size resizes the window's
// frame to W x H pixels first, --about pictures the About box instead, and
// --screen grabs the whole screen, to see where the windows stand. The window
// is then closed, which stores its placement; the store is a temporary folder
// unless --store names one, never the user's. Prints the frame it had.
#include "frmAbout.h"
#include "frmWordloom.h"
#include "SettingsStore.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <optional>

namespace {

struct Options {
    QString out, button;
    std::optional<QSize> size;
    QString store;
    bool about = false, screen = false;
};

std::optional<Options> parse(const QStringList &args)
{
    Options o;
    for (const QString &arg : args.mid(1)) {
        if (arg == QLatin1String("--about")) {
            o.about = true;
        } else if (arg == QLatin1String("--screen")) {
            o.screen = true;
        } else if (arg.startsWith(QLatin1String("--store="))) {
            o.store = arg.mid(8);
        } else if (arg.startsWith(QLatin1String("--size="))) {
            const QStringList wh = arg.mid(7).split(QLatin1Char('x'));
            bool okW = false, okH = false;
            if (wh.size() != 2)
                return std::nullopt;
            o.size = QSize(wh[0].toInt(&okW), wh[1].toInt(&okH));
            if (!okW || !okH || o.size->isEmpty())
                return std::nullopt;
        } else if (o.out.isEmpty()) {
            o.out = arg;
        } else if (o.button.isEmpty()) {
            o.button = arg;
        } else {
            return std::nullopt;
        }
    }
    if (o.out.isEmpty())
        return std::nullopt;
    return o;
}

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wordloom"));
    const auto options = parse(QApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "usage: wordloom-shot OUT.png [BUTTON] [--size=WxH] [--about] [--screen] [--store=DIR]\n");
        return 2;
    }
    QTemporaryDir store;
    wordloom::WindowServices services;
    services.settings = wordloom::SettingsStore(options->store.isEmpty() ? store.path() : options->store);
    const wordloom::SettingsStore settings = services.settings;

    wordloom::frmWordloom window(std::move(services));
    window.show();
    settle();
    if (options->size) {
        const QSize frameExtra = window.frameGeometry().size() - window.size();
        window.resize(*options->size - frameExtra);
        settle();
    }
    if (!options->button.isEmpty()) {
        auto *button = window.findChild<QPushButton *>(options->button);
        if (!button) {
            std::fprintf(stderr, "wordloom-shot: no button named %s\n", qPrintable(options->button));
            return 2;
        }
        button->click();
        settle();
    }
    wordloom::frmAbout about(settings);
    if (options->about) {
        about.show();
        settle();
    }
    QWidget &subject = options->about ? static_cast<QWidget &>(about) : window;
    const QPixmap picture = options->screen ? subject.screen()->grabWindow(0) : subject.grab();
    if (!picture.save(options->out)) {
        std::fprintf(stderr, "wordloom-shot: cannot write %s\n", qPrintable(options->out));
        return 1;
    }
    const QRect frame = window.frameGeometry();
    std::printf("frame %d,%d %dx%d\n", frame.x(), frame.y(), frame.width(), frame.height());
    window.close();
    return 0;
}
