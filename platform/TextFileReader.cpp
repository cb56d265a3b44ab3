#include "TextFileReader.h"

#include "TextCodec.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wordloom {

namespace {

TextFile unreadable(const QString &reason)
{
    TextFile file;
    file.reason = reason;
    return file;
}

TextFile outcome(TextFile::Outcome o)
{
    TextFile file;
    file.outcome = o;
    return file;
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The bytes of a regular file of at most the limit; opened without blocking
// and checked once open, in case the name changed hands meanwhile.
TextFile readBytes(const QString &path, QByteArray &bytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return unreadable(systemReason(errno));
    if (!S_ISREG(st.st_mode))
        return unreadable(S_ISDIR(st.st_mode) ? systemReason(EISDIR) : QStringLiteral("Not a regular file"));
    if (st.st_size > kMaxTextFileBytes)
        return outcome(TextFile::Outcome::TooLarge);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return unreadable(systemReason(errno));
    TextFile result = outcome(TextFile::Outcome::Text);
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        result = unreadable(QStringLiteral("Not a regular file"));
    } else {
        bytes = file.read(kMaxTextFileBytes + 1);
        if (file.error() != QFileDevice::NoError)
            result = unreadable(file.errorString());
        else if (bytes.size() > kMaxTextFileBytes)
            result = outcome(TextFile::Outcome::TooLarge);
    }
    ::close(fd);
    return result;
}

std::optional<QString> decodeExactly(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

TextFile readTextFile(const QString &path)
{
    QByteArray bytes;
    TextFile file = readBytes(path, bytes);
    if (file.outcome != TextFile::Outcome::Text)
        return file;
    const QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE") || view.startsWith("\xFE\xFF")) {
        const auto encoding = view.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
        // The mark itself is dropped above; a second one is part of the text.
        QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        file.text = decoder.decode(view.sliced(2));
        return file;
    }
    if (view.first(std::min<qsizetype>(view.size(), kBinaryProbeBytes)).contains('\0'))
        return outcome(TextFile::Outcome::Binary);
    const bool bom = view.startsWith("\xEF\xBB\xBF");
    if (auto text = decodeExactly(QStringConverter::Utf8, bom ? view.sliced(3) : view)) {
        file.text = std::move(*text);
        return file;
    }
    file.text = fromCodePage1252(view);
    file.codePage1252 = true;
    return file;
}

} // namespace wordloom
