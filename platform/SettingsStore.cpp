#include "SettingsStore.h"

#include <QDir>
#include <QSettings>
#include <memory>

namespace wordloom {

namespace {
QString &redirectFolder()
{
    static QString folder;
    return folder;
}

std::unique_ptr<QSettings> open(const QString &application)
{
    const QString &folder = redirectFolder();
    if (folder.isEmpty())
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application, application);
    return std::make_unique<QSettings>(QDir(folder).filePath(application + QStringLiteral(".conf")),
                                       QSettings::IniFormat);
}

QString keyPath(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}
} // namespace

QString SettingsStore::read(const QString &application, const QString &section, const QString &key,
                            const QString &defaultValue)
{
    const QVariant value = open(application)->value(keyPath(section, key));
    // A value that is not text (a hand-edited list, say) counts as missing.
    if (!value.isValid() || !value.canConvert<QString>() || value.typeId() == QMetaType::QStringList)
        return defaultValue;
    return value.toString();
}

void SettingsStore::write(const QString &application, const QString &section, const QString &key,
                          const QString &value)
{
    auto settings = open(application);
    settings->setValue(keyPath(section, key), value);
    settings->sync();
}

void SettingsStore::useFolder(const QString &folder)
{
    redirectFolder() = folder;
}

} // namespace wordloom
