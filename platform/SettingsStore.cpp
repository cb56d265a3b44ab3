#include "SettingsStore.h"

#include "IniText.h"
#include "StoreLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {

namespace {

// Far beyond any placement; a larger file is not ours: it reads as empty and
// is never replaced.
constexpr qint64 kMaxFileSize = 1 << 20;

enum class PathKind { Missing, RegularFile, Other };

PathKind kindOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Other;
    return S_ISREG(st.st_mode) ? PathKind::RegularFile : PathKind::Other;
}

// The file's bytes: empty when it is missing, nothing when it is not ours to
// rewrite (unreadable, larger than any placement, or not a regular file).
// Opened without blocking and checked again once open, in case the name
// changed hands since it was looked at.
std::optional<QByteArray> readStoreFile(const QString &path)
{
    switch (kindOf(path)) {
    case PathKind::Missing:
        return QByteArray();
    case PathKind::Other:
        return std::nullopt;
    case PathKind::RegularFile:
        break;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? std::optional<QByteArray>(QByteArray()) : std::nullopt;
    struct stat st {};
    std::optional<QByteArray> bytes;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxFileSize) {
        QFile file;
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
            // One byte more than the limit shows a file that grew since fstat.
            QByteArray read = file.read(kMaxFileSize + 1);
            if (file.error() == QFileDevice::NoError && read.size() <= kMaxFileSize)
                bytes = std::move(read);
        }
    }
    ::close(fd);
    return bytes;
}

// A save's temporary file is the store's name, this infix and mkostemp's six
// letters or digits: recognisably ours, so that one left behind by an
// interrupted save can be removed without touching the user's own copies.
constexpr QLatin1StringView kSaveInfix(".saving-");

bool isSaveTemporary(const QString &name, const QString &storeName)
{
    const QString prefix = storeName + kSaveInfix;
    if (name.size() != prefix.size() + 6 || !name.startsWith(prefix))
        return false;
    for (qsizetype i = prefix.size(); i < name.size(); ++i)
        if (name[i].unicode() >= 0x80 || !name[i].isLetterOrNumber())
            return false;
    return true;
}

// A save interrupted between naming its temporary file and renaming it over
// the store leaves that file behind. Every save holds the lock throughout, so
// whoever holds it may remove such files; if it is taken, someone is saving
// now, and the files wait for a later start.
void removeInterruptedSaves(const QString &path)
{
    const QFileInfo store(path);
    QDir folder = store.absoluteDir();
    QStringList leftovers;
    for (const QString &name : folder.entryList({store.fileName() + QStringLiteral(".*")},
                                                QDir::Files | QDir::Hidden | QDir::System))
        if (isSaveTemporary(name, store.fileName()))
            leftovers.append(name);
    if (leftovers.isEmpty())
        return;
    const StoreLock lock(path + QStringLiteral(".flock"), std::chrono::milliseconds(0));
    if (!lock.held())
        return;
    for (const QString &name : leftovers) {
        const QByteArray leftover = QFile::encodeName(folder.filePath(name));
        struct stat st {};
        if (::lstat(leftover.constData(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(leftover.constData());
    }
}

// The whole text into a temporary file beside the store, then renamed over
// it: a reader sees the old file or the new one. A link to the store is
// followed, so that its target is replaced and the link kept.
bool replaceAtomically(const QString &path, const QByteArray &bytes)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QByteArray target = QFile::encodeName(canonical.isEmpty() ? path : canonical);
    QByteArray temporary = target + QByteArray(kSaveInfix.data(), kSaveInfix.size()) + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    // The store keeps its permissions; a new one is the user's alone.
    struct stat st {};
    bool ok = ::stat(target.constData(), &st) != 0 || ::fchmod(fd, st.st_mode & 07777) == 0;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += ok ? n : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), target.constData()) == 0;
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

} // namespace

QString SettingsStore::path(const QString &application) const
{
    const QString file = application + QStringLiteral(".conf");
    if (!folder_.isEmpty())
        return QDir(folder_).filePath(file);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(application + QLatin1Char('/') + file);
}

QMap<QString, QString> SettingsStore::readSection(const QString &application, const QString &section) const
{
    const QString path = this->path(application);
    removeInterruptedSaves(path);
    return IniText::parse(readStoreFile(path).value_or(QByteArray())).values(section);
}

void SettingsStore::writeSection(const QString &application, const QString &section,
                                 const Entries &entries) const
{
    const QString path = this->path(application);
    if (kindOf(path) == PathKind::Other)
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const StoreLock lock(path + QStringLiteral(".flock"), lockPatience_);
    // A file that cannot be read whole is not ours to replace: what it holds
    // would be lost.
    const std::optional<QByteArray> bytes = readStoreFile(path);
    if (!bytes)
        return;
    IniText ini = IniText::parse(*bytes);
    for (const auto &[key, value] : entries)
        ini.setValue(section, key, value);
    replaceAtomically(path, ini.serialize());
}

} // namespace wordloom
