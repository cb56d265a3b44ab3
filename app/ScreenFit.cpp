#include "ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace screenfit {

namespace {
qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect piece = a.intersected(b);
    return piece.isEmpty() ? 0 : qint64(piece.width()) * piece.height();
}

int distance(const QRect &area, const QPoint &point)
{
    const int dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
    const int dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
    return dx + dy;
}

int clampEdge(int start, int length, int areaStart, int areaLength, int slack)
{
    const int lowest = areaStart - slack;
    const int highest = areaStart + areaLength + slack - length;
    return std::max(lowest, std::min(start, highest));
}
} // namespace

const QScreen *screenFor(const QRect &frame)
{
    const QScreen *best = nullptr;
    qint64 bestOverlap = 0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const qint64 shown = overlap(frame, screen->availableGeometry());
        if (shown > bestOverlap || (bestOverlap == 0 && shown == 0 &&
                                    (!best || distance(screen->availableGeometry(), frame.center()) <
                                                  distance(best->availableGeometry(), frame.center())))) {
            best = screen;
            bestOverlap = shown;
        }
    }
    return best;
}

QSize fitSize(const QSize &outer, const QRect &area)
{
    return outer.boundedTo(area.size());
}

QPoint fitPosition(const QRect &frame, const QRect &area, int sideSlack)
{
    if (area.adjusted(-sideSlack, 0, sideSlack, 0).contains(frame))
        return frame.topLeft();
    return {clampEdge(frame.left(), frame.width(), area.left(), area.width(), 0),
            clampEdge(frame.top(), frame.height(), area.top(), area.height(), 0)};
}

} // namespace screenfit
