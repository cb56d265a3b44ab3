// wordloom-shot OUT.png [BUTTON]: renders the real main window into a picture,
// after clicking the named command button (say, cmdWordCount) on the sample text.
#include "frmWordloom.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wordloom"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: wordloom-shot OUT.png [BUTTON]\n");
        return 2;
    }
    wordloom::frmWordloom window;
    window.show();
    QApplication::processEvents();
    if (argc > 2) {
        auto *button = window.findChild<QPushButton *>(QString::fromLocal8Bit(argv[2]));
        if (!button) {
            std::fprintf(stderr, "wordloom-shot: no button named %s\n", argv[2]);
            return 2;
        }
        button->click();
        QApplication::processEvents();
    }
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "wordloom-shot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
