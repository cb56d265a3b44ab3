#pragma once

#include <QString>

namespace wordloom {

// The per-user settings store: text values by application, section and key.
// The only place that knows how the store is kept on this platform.
class SettingsStore {
public:
    static QString read(const QString &application, const QString &section, const QString &key,
                        const QString &defaultValue);
    static void write(const QString &application, const QString &section, const QString &key,
                      const QString &value);

    // Keeps the store in the given folder instead of the user's own (tests and
    // tools that must not touch the user's placement); empty restores the user's.
    static void useFolder(const QString &folder);
};

} // namespace wordloom
