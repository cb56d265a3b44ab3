#pragma once

#include "ops/CommandHost.h"

namespace wordloom {

class frmWordloom;

// Runs a command against the window: its panes, status bar and Cancel button.
class WindowCommandHost final : public CommandHost {
public:
    explicit WindowCommandHost(frmWordloom &window) : window_(window) {}

    QString inputText() override;
    void showStatus(const QString &text) override;
    bool cancelRequested() override;
    void processEvents() override;
    void setWorkText(const QString &text) override;
    void setResultText(const QString &text) override;

private:
    frmWordloom &window_;
};

} // namespace wordloom
