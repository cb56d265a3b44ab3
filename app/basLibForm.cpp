#include "basLibForm.h"

#include "ScreenFit.h"
#include "AppIdentity.h"
#include "SettingsStore.h"
#include "Twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLocale>
#include <QMap>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <optional>

namespace basLibForm {

using wordloom::Twips;

namespace {

constexpr double kDefaultWidth = 6400;
constexpr double kDefaultHeight = 4800;
// Both windows keep their controls this far inside their sides.
constexpr double kControlMargin = 200;

// A window's stored placement, read from the store in one go.
using Stored = QMap<QString, QString>;

Stored readPlacement(const wordloom::SettingsStore &store, const QWidget &window)
{
    return store.readSection(wordloom::AppIdentity::title(), window.objectName());
}

QString readKey(const Stored &stored, const char *key, const QString &defaultValue)
{
    return stored.value(QLatin1String(key), defaultValue);
}

// A stored number of twips; text that is not a finite number counts as missing.
std::optional<double> readTwips(const Stored &stored, const char *key)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(readKey(stored, key, QString()).trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString formatTwips(double twips)
{
    return QString::number(std::llround(twips));
}

// Only the states that are ever written count; anything else opens normal.
bool readMaximised(const Stored &stored)
{
    return readKey(stored, "WindowState", QStringLiteral("0")).trimmed() == QLatin1String("2");
}

bool readSaveSize(const Stored &stored)
{
    return readKey(stored, "SaveSize", QStringLiteral("False")).trimmed().compare(QLatin1String("True"),
                                                                                  Qt::CaseInsensitive) == 0;
}

// Positions are taken as stored, but one so far out that it cannot be in
// pixel range is as good as garbage.
double readPosition(const Stored &stored, const char *key)
{
    const double value = readTwips(stored, key).value_or(0);
    return std::abs(value) < 1e8 ? value : 0;
}

// A size larger than twice all screens together, or not positive, is absurd.
double readSize(const Stored &stored, const char *key, double defaultValue, double screensExtent)
{
    const double value = readTwips(stored, key).value_or(defaultValue);
    return value > 0 && value <= 2 * screensExtent ? value : defaultValue;
}

void setFrameTop(QWidget &window, double twips)
{
    window.move(window.frameGeometry().left(), Twips::toPixelsY(twips, &window));
}

void setFrameLeft(QWidget &window, double twips)
{
    window.move(Twips::toPixelsX(twips, &window), window.frameGeometry().top());
}

// A window's frame is unknown until the platform has shown it, so its outer
// size is set as if it had none and put right as soon as the frame appears;
// otherwise every start would add the frame to the stored size.
class OuterSizeKeeper : public QObject {
public:
    OuterSizeKeeper(QWidget &window, QSize outer) : QObject(&window), window_(window), outer_(outer)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
            if (const QSize extra = window_.frameGeometry().size() - window_.size(); !extra.isNull()) {
                window_.removeEventFilter(this);
                if (window_.windowState() == Qt::WindowNoState)
                    window_.resize(outer_ - extra);
                deleteLater();
            }
            break;
        case QEvent::Hide:
            window_.removeEventFilter(this);
            deleteLater();
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget &window_;
    QSize outer_;
};

// The screen a window of this outer size would show on, at its position.
const QScreen *screenOf(const QWidget &window, const QSize &outer)
{
    return screenfit::screenFor(QRect(window.frameGeometry().topLeft(), outer));
}

// The size is cut down to the free area of its screen: at another scale
// factor a stored size may exceed it.
void setFrameSize(QWidget &window, double widthTwips, double heightTwips)
{
    QSize outer(Twips::toPixelsX(widthTwips, &window), Twips::toPixelsY(heightTwips, &window));
    if (const QScreen *screen = screenOf(window, outer))
        outer = screenfit::fitSize(outer, screen->availableGeometry());
    window.resize(outer - (window.frameGeometry().size() - window.size()));
    if (!window.isVisible())
        new OuterSizeKeeper(window, outer);
}

QRect allScreens()
{
    QRect all;
    for (const QScreen *screen : QGuiApplication::screens())
        all = all.united(screen->geometry());
    return all;
}

// The screens or their scale may have changed since the placement was stored:
// the window is moved onto its screen's free area, so that no control is out
// of reach. Its sides may hang past a screen edge by the margin the layout
// keeps around the controls, as a window pushed against that edge does.
void keepOnItsScreen(QWidget &window)
{
    const QRect frame = window.frameGeometry();
    if (const QScreen *screen = screenfit::screenFor(frame)) {
        const int slack = Twips::toPixelsX(kControlMargin, &window);
        window.move(screenfit::fitPosition(frame, screen->availableGeometry(), slack));
    }
}

// The first window whose placement was restored, while it is open.
QWidget &firstLoadedWindow(QWidget &window)
{
    static QPointer<QWidget> first;
    if (!first)
        first = &window;
    return *first;
}

// Whether the window's geometry is one it really has. Before it is shown it
// has the one the program gave it. Once shown, it is in the platform's hands:
// until the screen has it (on X11, until the window manager has framed and
// mapped it) its frame is half known, and a window closed that early read
// back a top edge off by the frame and once a size of one pixel.
bool placementIsKnown(const QWidget &window)
{
    if (!window.isVisible() && !window.testAttribute(Qt::WA_WState_ExplicitShowHide))
        return true;
    const QWindow *handle = window.windowHandle();
    return handle && handle->isExposed();
}

} // namespace

void SaveFormPlacement(const wordloom::SettingsStore &store, QWidget &window, bool saveSize)
{
    // Nothing is written, so the placement stored before survives.
    if (window.isMinimized() || !placementIsKnown(window))
        return;
    const bool maximised = window.isMaximized();
    wordloom::SettingsStore::Entries entries{
        {QStringLiteral("WindowState"), maximised ? QStringLiteral("2") : QStringLiteral("0")},
        {QStringLiteral("SaveSize"), saveSize ? QStringLiteral("True") : QStringLiteral("False")}};
    if (!maximised) {
        const QRect frame = window.frameGeometry();
        entries.append({QStringLiteral("Top"), formatTwips(Twips::fromPixelsY(frame.top(), &window))});
        entries.append({QStringLiteral("Left"), formatTwips(Twips::fromPixelsX(frame.left(), &window))});
        if (saveSize) {
            entries.append({QStringLiteral("Width"), formatTwips(Twips::fromPixelsX(frame.width(), &window))});
            entries.append({QStringLiteral("Height"), formatTwips(Twips::fromPixelsY(frame.height(), &window))});
        }
    }
    // One write: a reader sees the old placement or the new one, never a mix.
    store.writeSection(wordloom::AppIdentity::title(), window.objectName(), entries);
}

void RestoreFormPlacement(const wordloom::SettingsStore &store, QWidget &window)
{
    QWidget &first = firstLoadedWindow(window);
    const Stored stored = readPlacement(store, window);
    if (readMaximised(stored)) {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        return;
    }
    window.setWindowState(window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    setFrameTop(window, readPosition(stored, "Top"));
    setFrameLeft(window, readPosition(stored, "Left"));
    bool moved = false;
    if (window.frameGeometry().top() == 0) {
        const QRect anchor = first.frameGeometry();
        setFrameTop(window, Twips::fromPixelsY(anchor.top(), &first) + 700);
        setFrameLeft(window, Twips::fromPixelsX(anchor.left(), &first) + 400);
        moved = true;
    }
    const bool saveSize = readSaveSize(stored);
    if (saveSize) {
        const QRect screens = allScreens();
        setFrameSize(window,
                     readSize(stored, "Width", kDefaultWidth, Twips::fromPixelsX(screens.width(), &window)),
                     readSize(stored, "Height", kDefaultHeight, Twips::fromPixelsY(screens.height(), &window)));
    }
    keepOnItsScreen(window);
    if (moved)
        SaveFormPlacement(store, window, saveSize);
}

} // namespace basLibForm
