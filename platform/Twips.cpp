#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace wordloom {

namespace {
const QScreen *screenOf(const QWidget *w)
{
    if (w && w->screen())
        return w->screen();
    return QGuiApplication::primaryScreen();
}
} // namespace

double Twips::perPixelX(const QWidget *w)
{
    const QScreen *s = screenOf(w);
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

double Twips::perPixelY(const QWidget *w)
{
    const QScreen *s = screenOf(w);
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

} // namespace wordloom
