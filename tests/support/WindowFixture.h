#pragma once

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "ScriptedProbe.h"
#include "WindowParts.h"
#include "frmWordloom.h"

#include <QPushButton>
#include <QStringList>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace wordloom::testing {

// A fresh main window with scripted dialogs; every status post is recorded,
// and every post repaints and processes events so re-entry is deterministic.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        window = std::make_unique<frmWordloom>(std::move(scripted), &probe);
        sbStatus(*window)->setPumpInterval(0);
        QObject::connect(sbStatus(*window), &StatusBar::posted, window.get(), [this](const QString &text) {
            posts.append(text);
            if (onPost) {
                const auto hook = onPost; // the hook may replace itself
                hook(text);
            }
        });
        window->show();
    }
    void TearDown() override
    {
        onPost = nullptr;
        window.reset();
    }

    QPushButton *button(const char *name) { return window->findChild<QPushButton *>(QLatin1String(name)); }
    QString panel() const { return sbStatus(*window)->panelText(1); }

    ScriptedProbe probe; // outlives the window
    std::unique_ptr<frmWordloom> window;
    ScriptedDialogs *dialogs = nullptr;
    QStringList posts;
    // Runs inside every status post, while the command waits there.
    std::function<void(const QString &)> onPost;
};

} // namespace wordloom::testing
