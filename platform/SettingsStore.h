#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

namespace wordloom {

// The per-user settings store: text values by application, section and key,
// in the INI file <config folder>/<application>/<application>.conf.
// The only place that knows how the store is kept on this platform.
//
// A section is read in one go and written in one go: a write replaces the
// whole file atomically (a temporary file renamed over it), so no reader ever
// sees half of it; a temporary file an interrupted save left behind is removed
// at the next read. A path that is not a regular file (a FIFO, a device, a
// folder) is never opened, and a file that cannot be read or is larger than
// any placement is not ours: each reads as empty and is not written.
class SettingsStore {
public:
    using Entries = QList<QPair<QString, QString>>; // key and value, in writing order

    static QMap<QString, QString> readSection(const QString &application, const QString &section);
    static void writeSection(const QString &application, const QString &section, const Entries &entries);

    static QString read(const QString &application, const QString &section, const QString &key,
                        const QString &defaultValue);
    static void write(const QString &application, const QString &section, const QString &key,
                      const QString &value);

    // Keeps the store in the given folder instead of the user's own (tests and
    // tools that must not touch the user's placement); empty restores the user's.
    static void useFolder(const QString &folder);
};

} // namespace wordloom
