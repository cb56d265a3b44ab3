#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;

// Where a window's outer frame fits on the screens, in the current logical
// pixels (so at any scale factor).
namespace screenfit {

// The screen showing the largest part of the frame, else the one nearest to it.
const QScreen *screenFor(const QRect &frame);

// The outer size cut down to the area.
QSize fitSize(const QSize &outer, const QRect &area);

// The frame's top-left, moved so that the frame lies in the area. A frame that
// hangs past the left or right edge by no more than `sideSlack` pixels stays
// (pushed there by hand); one that must move goes wholly inside. A frame
// larger than the area keeps its top-left corner on it.
QPoint fitPosition(const QRect &frame, const QRect &area, int sideSlack);

} // namespace screenfit
