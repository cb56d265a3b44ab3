#include "basConversion.h"

#include "TextCodec.h"
#include "LargePages.h"
#include "SideBySide.h"

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

} // namespace

QString TextToBinaryCodes(const QString &text)
{
    if (text.size() > std::numeric_limits<qsizetype>::max() / kGroupWidth)
        throw std::length_error("text too long for its binary listing");
    QString out(text.size() * kGroupWidth, Qt::Uninitialized);
    QChar *const write = out.data();
    wordloom::adviseLargePages(write, std::size_t(out.size()) * sizeof(QChar));
    // Each character's group stands at a known place, so two halves of a
    // large text are written at once.
    const QStringView all(text);
    if (text.size() < kCharactersWorthASecondCore) {
        writeGroups(all, write);
    } else {
        const qsizetype half = text.size() / 2;
        wordloom::runSideBySide([&] { writeGroups(all.first(half), write); },
                      [&] { writeGroups(all.sliced(half), write + half * kGroupWidth); });
    }
    return out;
}

} // namespace basConversion
