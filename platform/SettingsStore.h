#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <chrono>
#include <utility>

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

    // How long a write waits for another one to finish before it writes
    // anyway: room for both the start and the close under a second.
    static constexpr std::chrono::milliseconds kLockPatience{400};

    // The user's own store.
    SettingsStore() = default;
    // A store kept in the given folder instead, as <folder>/<application>.conf:
    // for tests and tools that must not touch the user's placement.
    explicit SettingsStore(QString folder, std::chrono::milliseconds lockPatience = kLockPatience)
        : folder_(std::move(folder)), lockPatience_(lockPatience)
    {
    }

    QMap<QString, QString> readSection(const QString &application, const QString &section) const;
    void writeSection(const QString &application, const QString &section, const Entries &entries) const;

private:
    QString path(const QString &application) const;

    QString folder_; // empty: the user's configuration folder
    std::chrono::milliseconds lockPatience_ = kLockPatience;
};

} // namespace wordloom
