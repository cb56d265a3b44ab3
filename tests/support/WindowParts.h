#pragma once

#include "basLibStatusBar.h"
#include "frmWordloom.h"
#include "TextPane.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

// The window's controls found by their names, as a user finds them by sight.
namespace wordloom::testing {

template <typename T>
T *namedPart(const frmWordloom &w, const QString &name)
{
    T *part = w.findChild<T *>(name);
    if (!part)
        throw std::logic_error("no control named " + name.toStdString());
    return part;
}

inline TextPane *rtbText(const frmWordloom &w) { return namedPart<TextPane>(w, QStringLiteral("rtbText")); }
inline TextPane *rtbResult(const frmWordloom &w) { return namedPart<TextPane>(w, QStringLiteral("rtbResult")); }
inline StatusBar *sbStatus(const frmWordloom &w) { return namedPart<StatusBar>(w, QStringLiteral("sbStatus")); }
inline QLabel *label(const frmWordloom &w, const char *name) { return namedPart<QLabel>(w, QLatin1String(name)); }
inline QPushButton *cmd(const frmWordloom &w, const char *name) { return namedPart<QPushButton>(w, QLatin1String(name)); }
inline QAction *menuItem(const frmWordloom &w, const char *name) { return namedPart<QAction>(w, QLatin1String(name)); }
inline QMenu *popupMenu(const frmWordloom &w) { return namedPart<QMenu>(w, QStringLiteral("mnuTextPopup")); }
inline QFrame *line1(const frmWordloom &w, int index)
{
    return namedPart<QFrame>(w, QStringLiteral("line1_%1").arg(index));
}

} // namespace wordloom::testing
