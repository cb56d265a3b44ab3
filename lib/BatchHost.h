#pragma once

#include "CommandHost.h"

#include <optional>
#include <utility>

namespace wordloom {

// A host without a window: the panes and counters live in memory, statuses go
// nowhere and Cancel is never pressed, unless a derived host says otherwise.
class BatchHost : public CommandHost {
public:
    explicit BatchHost(QString input = {}) : input_(std::move(input)) {}

    QString inputText() override { return input_; }
    void setInputText(const QString &text) override { input_ = text; }
    QString resultText() override { return result_.value_or(QString()); }
    void setResultText(const QString &text) override { result_ = text; }
    void setWorkText(const QString &) override {}
    QString saveText() override { return save_; }
    void setSaveText(const QString &text) override { save_ = text; }
    qint16 &nestDepth() override { return nestDepth_; }
    qint16 &saveDepth() override { return saveDepth_; }

    void beginOperation() override
    {
        showStatus(QStringLiteral("Starting..."));
        enableCancel();
    }
    void endOperation() override {}
    void showStatus(const QString &) override {}
    bool cancelRequested() override { return false; }
    void processEvents() override {}

    // The result pane, or nothing when no command wrote it.
    const std::optional<QString> &result() const { return result_; }
    std::optional<QString> takeResult() { return std::exchange(result_, std::nullopt); }

protected:
    // Cancel enabled as a command begins: a request made before is dropped.
    virtual void enableCancel() {}

private:
    QString input_;
    std::optional<QString> result_;
    QString save_;
    qint16 nestDepth_ = 0;
    qint16 saveDepth_ = 0;
};

} // namespace wordloom
