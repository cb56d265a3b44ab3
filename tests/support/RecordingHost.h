#pragma once

#include "QtPrinters.h"
#include "BatchHost.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace wordloom::testing {

// A host that records what a command does and can press Cancel during the
// n-th status post (1-based), as a user would during ShowStatus.
class RecordingHost : public BatchHost {
public:
    explicit RecordingHost(QString input = {}) : input(std::move(input)) {}

    QString inputText() override { return input; }
    void setInputText(const QString &text) override
    {
        input = text;
        inputsShown.append(text);
    }
    QString resultText() override { return result.value_or(QString()); }
    void setResultText(const QString &text) override { result = text; }
    void setWorkText(const QString &text) override { work = text; }
    void showStatus(const QString &text) override
    {
        posts.append(text);
        if (cancelAtPost > 0 && posts.size() == cancelAtPost)
            cancelled = true;
    }
    bool cancelRequested() override
    {
        ++cancelTests;
        return cancelled;
    }
    void processEvents() override { ++eventPumps; }

    QString input;
    QStringList inputsShown;
    QStringList posts;
    std::optional<QString> work;
    std::optional<QString> result;
    int cancelAtPost = 0;
    bool cancelled = false;
    int cancelTests = 0;
    int eventPumps = 0;

protected:
    void enableCancel() override { cancelled = false; }
};

} // namespace wordloom::testing
