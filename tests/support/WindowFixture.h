#pragma once

#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "ScriptedObserver.h"
#include "WindowParts.h"
#include "frmWordloom.h"

#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace wordloom::testing {

// A fresh main window with scripted dialogs, watched by an observer, and
// its settings in a folder of the test's own; every status post is recorded,
// and every post repaints and processes events so re-entry is deterministic.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override { open(); }
    void TearDown() override
    {
        onPost = nullptr;
        window.reset();
    }

    // Replaces the window with a new one; Phrase Count may use
    // `phraseCountBudget` bytes for its phrases.
    void open(std::size_t phraseCountBudget = basTextRepeat::kDefaultPhraseBudget)
    {
        window.reset();
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        WindowServices services;
        services.dialogs = std::move(scripted);
        services.settings = settings;
        services.observer = &observer;
        services.phraseCountBudget = phraseCountBudget;
        window = std::make_unique<frmWordloom>(std::move(services));
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

    QPushButton *button(const char *name) { return window->findChild<QPushButton *>(QLatin1String(name)); }
    QString panel() const { return sbStatus(*window)->panelText(1); }

    // NestDepth and SaveDepth as the next command finds them: seen at the
    // first post of a Change Case, which changes neither.
    ScriptedObserver::Depths countersForTheNextCommand()
    {
        const std::size_t before = observer.depths.size();
        button("cmdCase")->click();
        return before < observer.depths.size() ? observer.depths[before] : ScriptedObserver::Depths{-1, -1};
    }

    QTemporaryDir settingsFolder;
    const SettingsStore settings{settingsFolder.path()};
    ScriptedObserver observer; // outlives the window
    std::unique_ptr<frmWordloom> window;
    ScriptedDialogs *dialogs = nullptr;
    QStringList posts;
    // Runs inside every status post, while the command waits there.
    std::function<void(const QString &)> onPost;
};

} // namespace wordloom::testing
