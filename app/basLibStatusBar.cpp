#include "basLibStatusBar.h"

#include <algorithm>

#include <QCoreApplication>
#include <QLabel>

#include <ctime>

namespace wordloom {

namespace {
const QString kPrefix = QStringLiteral("Status: ");

// Read without asking the processor for the time: in long loops a post comes
// every few microseconds, and a 30 ms interval needs no finer grain.
qint64 coarseMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}
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
    lastPumpMs_ = coarseMilliseconds();
}

QString StatusBar::panelText(int panel) const
{
    Q_ASSERT(panel == 1);
    return pendingShown_ ? panel_->text() : kPrefix + pending_;
}

void StatusBar::setPostedText(int panel, const QString &text)
{
    Q_ASSERT(panel == 1);
    // Copied into a buffer of its own, not shared: a command that posts a
    // counter writes the next number over its own text, which sharing would
    // turn into a new allocation at every one of its millions of posts.
    pending_.resize(text.size());
    std::copy(text.cbegin(), text.cend(), pending_.begin());
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
        pendingShown_ = true;
        const QString shown = kPrefix + pending_;
        // Naming the bar tells a screen reader; a repeated text is not news.
        if (shown != panel_->text()) {
            panel_->setText(shown);
            setAccessibleName(shown);
        }
    }
    repaint();
}

bool StatusBar::takePumpTurn()
{
    const qint64 now = coarseMilliseconds();
    if (pumpNext_ || pumpIntervalMs_ <= 0 || now - lastPumpMs_ >= pumpIntervalMs_) {
        pumpNext_ = false;
        lastPumpMs_ = now;
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
