#pragma once

#include "CommandHost.h"

namespace wordloom {

class frmWordloom;

// Runs a command against the window: its panes, counters, status bar and
// Cancel button.
class WindowCommandHost final : public CommandHost {
public:
    explicit WindowCommandHost(frmWordloom &window) : window_(window) {}

    QString inputText() override;
    void setInputText(const QString &text) override;
    QString resultText() override;
    void setResultText(const QString &text) override;
    void setWorkText(const QString &text) override;
    QString saveText() override;
    void setSaveText(const QString &text) override;
    qint16 &nestDepth() override;
    qint16 &saveDepth() override;
    void beginOperation() override;
    void endOperation() override;
    void showStatus(const QString &text) override;
    bool cancelRequested() override;
    void processEvents() override;
    void stayResponsive() override;

private:
    frmWordloom &window_;
};

} // namespace wordloom
