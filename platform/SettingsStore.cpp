#include "SettingsStore.h"

#include "IniText.h"
#include "StoreLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {

namespace {

// Far beyond any placement; a larger file is not ours and reads as empty.
constexpr qint64 kMaxFileSize = 1 << 20;
// Leaves room for both the start and the close under a second.
constexpr std::chrono::milliseconds kLockPatience(400);

QString &redirectFolder()
{
    static QString folder;
    return folder;
}

QString storePath(const QString &application)
{
    const QString file = application + QStringLiteral(".conf");
    if (!redirectFolder().isEmpty())
        return QDir(redirectFolder()).filePath(file);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(application + QLatin1Char('/') + file);
}

enum class PathKind { Missing, RegularFile, Other };

PathKind kindOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Other;
    return S_ISREG(st.st_mode) ? PathKind::RegularFile : PathKind::Other;
}

// The file's bytes, or nothing when it is missing, unreadable or not a regular
// file. Opened without blocking and checked again once open, in case the name
// changed hands since it was looked at.
std::optional<QByteArray> readRegularFile(const QString &path)
{
    if (kindOf(path) != PathKind::RegularFile)
        return std::nullopt;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxFileSize) {
        QFile file;
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
            bytes = file.read(kMaxFileSize);
    }
    ::close(fd);
    return bytes;
}

bool replaceAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

} // namespace

QMap<QString, QString> SettingsStore::readSection(const QString &application, const QString &section)
{
    return IniText::parse(readRegularFile(storePath(application)).value_or(QByteArray())).values(section);
}

void SettingsStore::writeSection(const QString &application, const QString &section, const Entries &entries)
{
    const QString path = storePath(application);
    if (kindOf(path) == PathKind::Other)
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const StoreLock lock(path + QStringLiteral(".flock"), kLockPatience);
    if (kindOf(path) == PathKind::Other)
        return;
    IniText ini = IniText::parse(readRegularFile(path).value_or(QByteArray()));
    for (const auto &[key, value] : entries)
        ini.setValue(section, key, value);
    replaceAtomically(path, ini.serialize());
}

QString SettingsStore::read(const QString &application, const QString &section, const QString &key,
                            const QString &defaultValue)
{
    return readSection(application, section).value(key, defaultValue);
}

void SettingsStore::write(const QString &application, const QString &section, const QString &key,
                          const QString &value)
{
    writeSection(application, section, {{key, value}});
}

void SettingsStore::useFolder(const QString &folder)
{
    redirectFolder() = folder;
}

} // namespace wordloom
