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

// Small enough that a stop is seen soon, large enough to cost nothing.
constexpr qint64 kPieceBytes = 4 << 20;

// The bytes of a regular file of at most the limit; opened without blocking
// and checked once open, in case the name changed hands meanwhile.
TextFile readBytes(const QString &path, QByteArray &bytes, const std::atomic<bool> *stop)
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
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result = unreadable(QStringLiteral("Not a regular file"));
    } else {
        // One byte past the limit shows a file that grew since it was looked at.
        bytes.resize(std::min<qint64>(st.st_size, kMaxTextFileBytes) + 1);
        qint64 size = 0;
        for (;;) {
            if (stop && stop->load(std::memory_order_relaxed)) {
                result = outcome(TextFile::Outcome::Stopped);
                break;
            }
            if (size == bytes.size()) {
                if (size > kMaxTextFileBytes) {
                    result = outcome(TextFile::Outcome::TooLarge);
                    break;
                }
                bytes.resize(std::min<qint64>(size * 2, kMaxTextFileBytes + 1));
            }
            const ssize_t n = ::read(fd, bytes.data() + size, size_t(std::min(bytes.size() - size, kPieceBytes)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                result = unreadable(systemReason(errno));
                break;
            }
            if (n == 0)
                break;
            size += n;
        }
        bytes.truncate(size);
    }
    ::close(fd);
    return result;
}

// The byte offset of the first unit that is not UTF-16: an unpaired
// surrogate, or a last byte without its pair.
std::optional<qint64> firstInvalidUtf16(QByteArrayView bytes, bool littleEndian)
{
    const auto unit = [&](qsizetype i) {
        const auto lo = static_cast<unsigned char>(bytes[littleEndian ? i : i + 1]);
        const auto hi = static_cast<unsigned char>(bytes[littleEndian ? i + 1 : i]);
        return char16_t(lo | hi << 8);
    };
    const qsizetype even = bytes.size() & ~qsizetype(1);
    for (qsizetype i = 0; i < even; i += 2) {
        const char16_t u = unit(i);
        if (QChar::isHighSurrogate(u) && i + 2 < even && QChar::isLowSurrogate(unit(i + 2)))
            i += 2;
        else if (QChar::isSurrogate(u))
            return i;
    }
    if (even != bytes.size())
        return even;
    return std::nullopt;
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

TextFile readTextFile(const QString &path, const std::atomic<bool> *stop)
{
    QByteArray bytes;
    TextFile file = readBytes(path, bytes, stop);
    if (file.outcome != TextFile::Outcome::Text)
        return file;
    const QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE") || view.startsWith("\xFE\xFF")) {
        const bool littleEndian = view.startsWith("\xFF\xFE");
        const auto encoding = littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
        // The decoder would write U+FFFD for what is not UTF-16: refused instead.
        if (const auto fault = firstInvalidUtf16(view.sliced(2), littleEndian)) {
            file = outcome(TextFile::Outcome::InvalidUtf16);
            file.offset = 2 + *fault;
            return file;
        }
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
