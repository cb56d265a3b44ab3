#pragma once

#include "WindowFixture.h"
#include "WindowParts.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>
#include <map>

namespace wordloom::testing {

// The main window with the pop-up menu's display replaced: each opening is
// recorded, and the item chosen for it (if any) is triggered as a click would.
class PopupFixture : public WindowFixture {
protected:
    struct Opening {
        QString heading;
        std::map<QString, bool> enabled; // by item name
        bool wrapChecked = false;
    };

    void SetUp() override
    {
        WindowFixture::SetUp();
        QGuiApplication::clipboard()->clear();
        dialogs->onPopup = [this](QMenu &menu) {
            Opening o;
            o.heading = menuItem(*window, "mnuTextPopupCaption")->text();
            for (QAction *a : menu.actions())
                if (!a->isSeparator())
                    o.enabled[a->objectName()] = a->isEnabled();
            o.wrapChecked = menuItem(*window, "mnuTextPopupWrap")->isChecked();
            openings.push_back(o);
            if (QAction *chosen = std::exchange(choice, nullptr))
                chosen->trigger();
        };
    }

    // Presses and releases a mouse button in the pane; `item` is chosen if a menu opens.
    void click(TextPane *pane, Qt::MouseButton button, QAction *item = nullptr)
    {
        choice = item;
        QTest::mouseClick(pane->viewport(), button, {}, QPoint(5, 5));
        choice = nullptr;
    }
    void rightClick(TextPane *pane, QAction *item = nullptr) { click(pane, Qt::RightButton, item); }

    static QString clipboardText() { return QGuiApplication::clipboard()->text(); }
    static void setClipboardText(const QString &text) { QGuiApplication::clipboard()->setText(text); }

    static void select(TextPane *pane, int start, int length)
    {
        pane->setSelStart(start);
        pane->setSelLength(length);
    }

    std::vector<Opening> openings;
    QAction *choice = nullptr;
};

} // namespace wordloom::testing
