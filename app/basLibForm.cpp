#include "basLibForm.h"

#include "platform/AppIdentity.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLocale>
#include <QMap>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <optional>

namespace basLibForm {

using wordloom::Twips;

namespace {

constexpr double kDefaultWidth = 6400;
constexpr double kDefaultHeight = 4800;
// A window counts as on a screen when a piece this many pixels square lies on one.
constexpr int kVisiblePiece = 32;

// A window's stored placement, read from the store in one go.
using Stored = QMap<QString, QString>;

Stored readPlacement(const QWidget &window)
{
    return wordloom::SettingsStore::readSection(wordloom::AppIdentity::title(), window.objectName());
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

void setFrameSize(QWidget &window, double widthTwips, double heightTwips)
{
    const QSize outer(Twips::toPixelsX(widthTwips, &window), Twips::toPixelsY(heightTwips, &window));
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

int distance(const QRect &area, const QPoint &point)
{
    const int dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
    const int dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
    return dx + dy;
}

// The screen arrangement may have changed since the placement was stored:
// a window that would lie on no screen is moved onto the nearest one.
void keepOnAScreen(QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const QScreen *nearest = nullptr;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect piece = frame.intersected(screen->availableGeometry());
        if (piece.width() >= kVisiblePiece && piece.height() >= kVisiblePiece)
            return;
        if (!nearest || distance(screen->availableGeometry(), frame.center()) <
                            distance(nearest->availableGeometry(), frame.center()))
            nearest = screen;
    }
    if (!nearest)
        return;
    const QRect area = nearest->availableGeometry();
    const int left = std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
    const int top = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
    window.move(left, top);
}

// The first window whose placement was restored, while it is open.
QWidget &firstLoadedWindow(QWidget &window)
{
    static QPointer<QWidget> first;
    if (!first)
        first = &window;
    return *first;
}

} // namespace

void SaveFormPlacement(QWidget &window, bool saveSize)
{
    if (window.isMinimized())
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
    wordloom::SettingsStore::writeSection(wordloom::AppIdentity::title(), window.objectName(), entries);
}

void RestoreFormPlacement(QWidget &window)
{
    QWidget &first = firstLoadedWindow(window);
    const Stored stored = readPlacement(window);
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
    keepOnAScreen(window);
    if (moved)
        SaveFormPlacement(window, saveSize);
}

} // namespace basLibForm
