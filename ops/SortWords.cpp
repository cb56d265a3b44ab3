#include "SortWords.h"

#include "SortWordsSteps.h"
#include "TextViews.h"

#include <algorithm>
#include <vector>

namespace wordloom::ops {

PackedText packedText(QStringView text, const std::function<void()> &between)
{
    PackedText packed;
    packed.text.resize(text.size());
    char16_t *const begin = reinterpret_cast<char16_t *>(packed.text.data());
    char16_t *write = begin;
    char16_t previous = 0;
    qsizetype run = 0, longest = 0;
    // Without branches: every unit is written, and the write position moves
    // on unless the unit is a space after a space.
    const char16_t *const units = reinterpret_cast<const char16_t *>(text.utf16());
    constexpr qsizetype kStretchUnits = qsizetype(1) << 21;
    for (qsizetype i = 0; i < text.size();) {
        for (const qsizetype end = std::min(text.size(), i + kStretchUnits); i < end; ++i) {
            const char16_t unit = units[i];
            const bool space = unit == u' ';
            const bool keep = !(space && previous == u' ');
            *write = unit;
            write += keep;
            packed.spaces += keep & space;
            run = space ? run + 1 : 0;
            longest = std::max(longest, run);
            previous = unit;
        }
        if (i < text.size() && between)
            between();
    }
    packed.text.truncate(write - begin);
    for (; longest > 1; longest = (longest + 1) / 2)
        ++packed.passes;
    return packed;
}

QString packSpaces(QString text, int passes)
{
    if (passes <= 0 || text.isEmpty())
        return text;
    const qsizetype divisor = passes >= 62 ? qsizetype(1) << 62 : qsizetype(1) << passes;
    QChar *const begin = text.data();
    const QChar *read = begin;
    const QChar *const end = begin + text.size();
    QChar *write = begin;
    while (read != end) {
        if (*read != u' ') {
            *write++ = *read++;
            continue;
        }
        const QChar *runEnd = read;
        while (runEnd != end && *runEnd == u' ')
            ++runEnd;
        const qsizetype kept = ((runEnd - read) + divisor - 1) / divisor;
        write = std::fill_n(write, kept, QChar(u' '));
        read = runEnd;
    }
    text.truncate(write - begin);
    return text;
}

namespace {

struct Words {
    QString text;        // the packed text: words separated by single spaces
    qsizetype count = 0; // the pieces of splitting it at every space
};

// Steps 2 to 10: through the trim loop's cancel tests.
Outcome parsedWords(CommandHost &host, Words &words)
{
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Dehyphenating..."));
    // A word broken with a hyphen at a line's end is joined again.
    QString work = host.inputText();
    removeHyphenBreaks(work);
    host.setWorkText(work);
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Cleaning..."));
    work = lettersAndSpaces(work);
    host.setWorkText(work);
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Packing..."));
    // What the last pass leaves, made in one go; the cleaned text stays for a
    // cancel part-way, which leaves the passes made so far in the work pane.
    const PackedText packed = packedText(work, [&host] { host.stayResponsive(); });
    for (int pass = 1; pass <= packed.passes; ++pass) {
        if (host.cancelRequested()) {
            if (pass > 1)
                host.setWorkText(packSpaces(std::move(work), pass - 1));
            return cancelled(host);
        }
    }
    work = packed.text;
    const qsizetype spaces = packed.spaces;
    host.setWorkText(work);
    host.showStatus(QStringLiteral("Parsing..."));
    const qsizetype count = work.isEmpty() ? 0 : spaces + 1;
    if (host.cancelRequested())
        return cancelled(host);
    // Pieces of a packed text hold no space, so trimming them changes nothing;
    // only the loop's cancel tests remain.
    for (qsizetype i = 0; i < count; ++i) {
        if (host.cancelRequested())
            return cancelled(host);
    }
    words = Words{std::move(work), count};
    return Outcome::Ready;
}

QString listEachOccurrence(const WordCounts &distinct, const std::vector<std::uint32_t> &order)
{
    const std::vector<QStringView> &words = distinct.words();
    const std::vector<qsizetype> &counts = distinct.counts();
    qsizetype total = 0;
    for (std::size_t i = 0; i < words.size(); ++i)
        total += counts[i] * (words[i].size() + kCrLf.size());
    QString out(total, Qt::Uninitialized);
    QChar *write = out.data();
    for (const std::uint32_t index : order) {
        const QStringView word = words[index];
        for (qsizetype k = 0; k < counts[index]; ++k) {
            write = std::copy(word.begin(), word.end(), write);
            write = std::copy(kCrLf.begin(), kCrLf.end(), write);
        }
    }
    return out;
}

Outcome listWords(CommandHost &host)
{
    Words words;
    if (parsedWords(host, words) == Outcome::Cancelled)
        return Outcome::Cancelled;
    host.showStatus(QStringLiteral("Sorting..."));
    const WordCounts distinct = countedWords(words.text, [&host] { host.stayResponsive(); });
    const std::vector<std::uint32_t> order = distinct.sortedOrder();
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Formatting..."));
    for (qsizetype i = 0; i < words.count; ++i) {
        if (host.cancelRequested())
            return cancelled(host);
    }
    host.setResultText(listEachOccurrence(distinct, order));
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace

Outcome sortWords(CommandHost &host)
{
    return listWords(host);
}

} // namespace wordloom::ops
