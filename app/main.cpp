#include "frmWordloom.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wordloom"));
    QApplication::setApplicationVersion(QStringLiteral(WORDLOOM_VERSION_STRING));
    QApplication::setDesktopFileName(QStringLiteral(WORDLOOM_APP_ID));
    wordloom::frmWordloom window;
    window.show();
    return app.exec();
}
