#include "basLibStatusBar.h"

#include <QCoreApplication>
#include <QLabel>

namespace wordloom {

namespace {
const QString kPrefix = QStringLiteral("Status: ");
} // namespace

StatusBar::StatusBar(QWidget *parent) : QStatusBar(parent), panel_(new QLabel(this))
{
    setObjectName(QStringLiteral("sbStatus"));
    setSizeGripEnabled(false);
    panel_->setObjectName(QStringLiteral("sbStatusPanel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // The panel's width is only ever a wish: the bar clips it, so that neither
    // a long text nor a width set from the window's size can hold the window
    // open wider than the user makes it.
    panel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(panel_, 1);
    sincePump_.start();
}

QString StatusBar::panelText(int panel) const
{
    Q_ASSERT(panel == 1);
    return pendingShown_ ? panel_->text() : kPrefix + pending_;
}

void StatusBar::setPostedText(int panel, const QString &text)
{
    Q_ASSERT(panel == 1);
    pending_ = text; // shared, not copied: most posts are never shown
    pendingShown_ = false;
}

void StatusBar::setPanelWidth(int panel, int pixels)
{
    Q_ASSERT(panel == 1);
    panelWidth_ = std::max(0, pixels);
    panel_->setMaximumWidth(panelWidth_);
}

int StatusBar::panelWidth(int panel) const
{
    Q_ASSERT(panel == 1);
    return panelWidth_;
}

void StatusBar::flush()
{
    if (!pendingShown_) {
        panel_->setText(kPrefix + pending_);
        pendingShown_ = true;
    }
    repaint();
}

bool StatusBar::takePumpTurn()
{
    if (pumpNext_ || pumpIntervalMs_ <= 0 || sincePump_.elapsed() >= pumpIntervalMs_) {
        pumpNext_ = false;
        sincePump_.restart();
        ++pumps_;
        return true;
    }
    return false;
}

} // namespace wordloom

namespace basLibStatusBar {

void ShowStatus(wordloom::StatusBar &statusBar, int panel, const QString &text)
{
    statusBar.setPostedText(panel, text);
    emit statusBar.posted(text);
    if (statusBar.takePumpTurn()) {
        statusBar.flush();
        QCoreApplication::processEvents();
    }
}

} // namespace basLibStatusBar
