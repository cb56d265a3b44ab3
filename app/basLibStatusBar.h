#pragma once

#include <QStatusBar>
#include <QString>

class QLabel;

namespace wordloom {

// The status bar with its one text panel, named after the panel's text for
// screen readers. Every post reaches the posted() signal in order; repainting
// and event processing are spaced by pumpInterval so that a command posting
// once per word stays fast.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    QString panelText(int panel) const;
    // The panel then reads "Status: " + text.
    void setPostedText(int panel, const QString &text);
    void setPanelWidth(int panel, int pixels);
    int panelWidth(int panel) const;

    // 0 makes every post repaint and process events.
    void setPumpInterval(int milliseconds) { pumpIntervalMs_ = milliseconds; }
    int pumpInterval() const { return pumpIntervalMs_; }
    // The next post repaints and processes events whatever the interval.
    void pumpNextPost() { pumpNext_ = true; }
    // Shows the latest post now.
    void flush();

    // The post protocol: true when this post should repaint and pump.
    bool takePumpTurn();
    int pumpCount() const { return pumps_; }

signals:
    void posted(const QString &text);

private:
    QLabel *panel_;
    int panelWidth_ = QWIDGETSIZE_MAX;
    QString pending_;
    bool pendingShown_ = true;
    qint64 lastPumpMs_ = 0;
    int pumpIntervalMs_ = 30;
    bool pumpNext_ = true;
    int pumps_ = 0;
};

} // namespace wordloom

namespace basLibStatusBar {

// Shows "Status: " + text in the panel, repaints the bar and processes pending events.
void ShowStatus(wordloom::StatusBar &statusBar, int panel, const QString &text);

} // namespace basLibStatusBar
