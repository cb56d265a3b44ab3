// The layout applied whenever the main window changes size.
#include "frmWordloom.h"

#include "MainWindowLayout.h"
#include "basLibForm.h"
#include "Twips.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <cmath>

namespace wordloom {

namespace {

using layout::Twip;

// Rounds up, so that the window in whole pixels is never below the minimum.
int pixelsAtLeast(double twips, double twipsPerPixel)
{
    return int(std::ceil(twips / twipsPerPixel - 1e-3));
}

} // namespace

layout::Inputs frmWordloom::measureLayout() const
{
    const frmWordloom &w = *this;
    const QRect frame = w.frameGeometry();
    layout::Inputs in;
    in.W = Twip(Twips::fromPixelsX(frame.width(), &w));
    in.H = Twip(Twips::fromPixelsY(frame.height(), &w));
    in.S = Twip(Twips::fromPixelsY(w.sbStatus->height(), &w));
    in.E = Twip(Twips::fromPixelsY(w.cmdExit->height(), &w));
    in.X = Twip(Twips::fromPixelsX(w.cmdExit->width(), &w));
    in.buttons = int(buttonColumn().size());
    in.Lt = Twip(Twips::fromPixelsY(w.lblText->height(), &w));
    in.Wt = Twip(Twips::fromPixelsX(w.lblText->width(), &w));
    in.Lr = Twip(Twips::fromPixelsY(w.lblResult->height(), &w));
    in.Wr = Twip(Twips::fromPixelsX(w.lblResult->width(), &w));
    in.P = Twip(Twips::perPixelY(&w));
    in.TE = Twip(Twips::fromPixelsX(w.fontMetrics().horizontalAdvance(QLatin1Char('E')), &w));
    return in;
}

void frmWordloom::setOuterHeight(double twips)
{
    const int frameExtra = frameGeometry().height() - height();
    resize(width(), pixelsAtLeast(twips, Twips::perPixelY(this)) - frameExtra);
}

void frmWordloom::setOuterWidth(double twips)
{
    const int frameExtra = frameGeometry().width() - width();
    resize(pixelsAtLeast(twips, Twips::perPixelX(this)) - frameExtra, height());
}

namespace {

// Converted edge by edge, so that a line and a pane spanning the same twips
// span the same pixels too.
void place(QWidget *control, const layout::Rect &r)
{
    const int left = Twips::toPixelsX(r.left, control);
    const int top = Twips::toPixelsY(r.top, control);
    control->setGeometry(left, top, Twips::toPixelsX(r.left + r.width, control) - left,
                         Twips::toPixelsY(r.top + r.height, control) - top);
}

void placeLine(QFrame *line, const layout::HorizontalLine &l)
{
    const int x1 = Twips::toPixelsX(l.x1, line);
    line->setGeometry(x1, Twips::toPixelsY(l.y, line), Twips::toPixelsX(l.x2, line) - x1, 1);
}

} // namespace

void frmWordloom::placeControls(const layout::Result &r)
{
    frmWordloom &w = *this;
    w.lblText->move(Twips::toPixelsX(r.labelTextLeft, &w), Twips::toPixelsY(r.labelTextTop, &w));
    place(w.rtbText, r.text);
    for (int i = 0; i < 4; ++i)
        placeLine(w.line1[i], r.lines[size_t(i)]);
    w.lblResult->move(Twips::toPixelsX(r.labelResultLeft, &w), Twips::toPixelsY(r.labelResultTop, &w));
    place(w.rtbResult, r.result);

    const std::vector<QPushButton *> column = buttonColumn();
    const int left = Twips::toPixelsX(r.buttonLeft, &w);
    for (size_t i = 0; i < column.size() && i < r.buttonTops.size(); ++i)
        column[i]->move(left, Twips::toPixelsY(r.buttonTops[i], &w));

    w.sbStatus->setPanelWidth(1, Twips::toPixelsX(r.statusPanelWidth, &w));
}

void frmWordloom::Form_Resize()
{
    if (isMinimized())
        return;
    const layout::Result r = layout::compute(measureLayout());
    // A maximised window keeps the size the screen gives it; the controls are
    // still laid out for at least the minimum.
    if (r.heightEnlarged && !isMaximized()) {
        setOuterHeight(r.H);
        basLibForm::SaveFormPlacement(services_.settings, *this, true);
    }
    if (r.widthEnlarged && !isMaximized()) {
        setOuterWidth(r.W);
        basLibForm::SaveFormPlacement(services_.settings, *this, true);
    }
    placeControls(r);
    laidOutFrame_ = frameGeometry().size();
}

void frmWordloom::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmWordloom::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    // The window manager adds its frame after the first size event, with no
    // size event of its own; the layout works from the outer size.
    if (frameGeometry().size() != laidOutFrame_)
        Form_Resize();
}

void frmWordloom::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Coming back from minimised may bring no size event of its own.
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

} // namespace wordloom
