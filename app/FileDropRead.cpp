#include "FileDropRead.h"

#include "CommandObserver.h"
#include "TextFileReader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

namespace wordloom {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("wordloom::frmWordloom", text);
}

// Why a file was not loaded, or nothing when it was.
QString refusal(const TextFile &file, const QString &name)
{
    switch (file.outcome) {
    case TextFile::Outcome::Text:
    case TextFile::Outcome::Stopped:
        return {};
    case TextFile::Outcome::TooLarge:
        return tr("%1 is larger than 200 MB and was not loaded.").arg(name);
    case TextFile::Outcome::Binary:
        return tr("%1 is not a text file and was not loaded.").arg(name);
    case TextFile::Outcome::InvalidUtf16:
        return tr("%1 is not valid UTF-16 at byte offset %2 and was not loaded.").arg(name).arg(file.offset);
    case TextFile::Outcome::Unreadable:
        break;
    }
    return tr("%1 cannot be read: %2.").arg(name, file.reason);
}

// Nothing when stopped.
std::optional<DroppedText> readAll(const QStringList &paths, const std::atomic<bool> &stop, CommandObserver *observer)
{
    DroppedText dropped;
    for (const QString &path : paths) {
        if (observer)
            observer->atFileRead(path);
        const QString name = QFileInfo(path).fileName();
        const TextFile file = readTextFile(path, &stop);
        if (file.outcome == TextFile::Outcome::Stopped || stop.load())
            return std::nullopt;
        if (QString why = refusal(file, name); !why.isEmpty())
            return DroppedText{{}, {}, std::move(why)};
        QString &text = dropped.text;
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')) && !text.endsWith(QLatin1Char('\r')))
            text += QStringLiteral("\r\n");
        text += file.text;
        if (file.codePage1252)
            dropped.asCodePage << name;
        if (text.size() > kMaxTextFileBytes)
            return DroppedText{{}, {}, tr("The files together are larger than 200 MB and were not loaded.")};
    }
    return dropped;
}
} // namespace

struct FileDropRead::Shared {
    std::atomic<bool> stop{false};
    std::mutex mutex;
    QObject *receiver = nullptr;             // null once abandoned or handed over
    std::function<void(DroppedText)> done;

    // On the receiver's thread: the outcome to `done`, unless abandoned since.
    static void handOver(const std::shared_ptr<Shared> &shared, DroppedText dropped)
    {
        std::function<void(DroppedText)> done;
        {
            const std::lock_guard lock(shared->mutex);
            if (!shared->receiver)
                return;
            shared->receiver = nullptr;
            done = std::move(shared->done);
        }
        done(std::move(dropped));
    }
};

FileDropRead::FileDropRead(const QStringList &paths, QObject *receiver, std::function<void(DroppedText)> done,
                           CommandObserver *observer)
    : shared_(std::make_shared<Shared>())
{
    shared_->receiver = receiver;
    shared_->done = std::move(done);
    std::thread([shared = shared_, paths, observer] {
        std::optional<DroppedText> dropped = readAll(paths, shared->stop, observer);
        // Posted under the lock: abandoning takes it before the receiver may
        // go. The observer hears of the end first, so that once the outcome has
        // arrived the observer is not touched again.
        const std::lock_guard lock(shared->mutex);
        const bool handOver = dropped && shared->receiver;
        if (observer)
            observer->atFileReadEnd(handOver);
        if (handOver)
            QMetaObject::invokeMethod(
                shared->receiver,
                [shared, text = std::move(*dropped)]() mutable { Shared::handOver(shared, std::move(text)); },
                Qt::QueuedConnection);
    }).detach();
}

FileDropRead::~FileDropRead()
{
    abandon();
}

void FileDropRead::abandon()
{
    shared_->stop = true;
    const std::lock_guard lock(shared_->mutex);
    shared_->receiver = nullptr;
    shared_->done = nullptr;
}

} // namespace wordloom
