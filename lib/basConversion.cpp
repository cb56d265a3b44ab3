#include "basConversion.h"

#include "TextCodec.h"
#include "SideBySide.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace basConversion {

namespace {

constexpr qsizetype kGroupWidth = 9;

// Every code's eight digits and the space, written once: a group is then one
// copy instead of eight decisions.
struct Groups {
    char16_t units[256][kGroupWidth];
    constexpr Groups() : units{}
    {
        for (int code = 0; code < 256; ++code) {
            for (int bit = 0; bit < 8; ++bit)
                units[code][bit] = (code >> (7 - bit)) & 1 ? u'1' : u'0';
            units[code][8] = u' ';
        }
    }
};
constexpr Groups kGroups;

void writeGroups(QStringView text, QChar *out)
{
    for (const QChar c : text) {
        std::memcpy(out, kGroups.units[wordloom::ansiCode(c)], sizeof kGroups.units[0]);
        out += kGroupWidth;
    }
}

// Below this a second thread costs more than it saves.
constexpr qsizetype kCharactersWorthASecondCore = qsizetype(1) << 18;
// A slice's listing (18 MB) is written in a few hundredths of a second.
constexpr qsizetype kCharactersPerSlice = qsizetype(1) << 20;

} // namespace

QString TextToBinaryCodes(const QString &text, const std::function<void()> &between)
{
    if (text.size() > std::numeric_limits<qsizetype>::max() / kGroupWidth)
        throw std::length_error("text too long for its binary listing");
    // Written once from front to back, so the buffer gets no large-page
    // hint: zeroing large pages costs more than the faults it saves here.
    QString out(text.size() * kGroupWidth, Qt::Uninitialized);
    QChar *const write = out.data();
    // Each character's group stands at a known place, so two halves of a
    // large slice are written at once.
    const QStringView all(text);
    for (qsizetype from = 0; from < text.size(); from += kCharactersPerSlice) {
        if (from > 0 && between)
            between();
        const QStringView slice = all.sliced(from, std::min(kCharactersPerSlice, text.size() - from));
        QChar *const at = write + from * kGroupWidth;
        if (slice.size() < kCharactersWorthASecondCore) {
            writeGroups(slice, at);
        } else {
            const qsizetype half = slice.size() / 2;
            wordloom::runSideBySide([&] { writeGroups(slice.first(half), at); },
                                    [&] { writeGroups(slice.sliced(half), at + half * kGroupWidth); });
        }
    }
    return out;
}

} // namespace basConversion
