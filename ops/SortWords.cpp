#include "SortWords.h"

#include "SortLines.h"
#include "TextViews.h"
#include "CodeUnitOrder.h"
#include "WordTable.h"
#include "basLibLibrary.h"

#include <algorithm>
#include <optional>
#include <vector>


namespace wordloom::ops {

PackedText packedText(QStringView text)
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
    for (qsizetype i = 0; i < text.size(); ++i) {
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
    QString text;    // the packed text: words separated by single spaces
    qsizetype count; // the pieces of splitting it at every space
};

// Steps 2 to 10: through the trim loop's cancel tests.
std::optional<Words> parsedWords(CommandHost &host)
{
    if (host.cancelRequested())
        return cancelled(host), std::nullopt;
    host.showStatus(QStringLiteral("Dehyphenating..."));
    // A word broken with a hyphen at a line's end is joined again.
    QString work = host.inputText();
    removeHyphenBreaks(work);
    host.setWorkText(work);
    if (host.cancelRequested())
        return cancelled(host), std::nullopt;
    host.showStatus(QStringLiteral("Cleaning..."));
    work = basLibLibrary::FilterText(work, QStringLiteral(" "), true);
    host.setWorkText(work);
    if (host.cancelRequested())
        return cancelled(host), std::nullopt;
    host.showStatus(QStringLiteral("Packing..."));
    // What the last pass leaves, made in one go; the cleaned text stays for a
    // cancel part-way, which leaves the passes made so far in the work pane.
    const PackedText packed = packedText(work);
    for (int pass = 1; pass <= packed.passes; ++pass) {
        if (host.cancelRequested()) {
            if (pass > 1)
                host.setWorkText(packSpaces(std::move(work), pass - 1));
            return cancelled(host), std::nullopt;
        }
    }
    work = packed.text;
    const qsizetype spaces = packed.spaces;
    host.setWorkText(work);
    host.showStatus(QStringLiteral("Parsing..."));
    const qsizetype count = work.isEmpty() ? 0 : spaces + 1;
    if (host.cancelRequested())
        return cancelled(host), std::nullopt;
    // Pieces of a packed text hold no space, so trimming them changes nothing;
    // only the loop's cancel tests remain.
    for (qsizetype i = 0; i < count; ++i) {
        if (host.cancelRequested())
            return cancelled(host), std::nullopt;
    }
    return Words{std::move(work), count};
}

// Equal words cannot be told apart in the listing, so the sort orders the
// distinct words and keeps how often each occurs.
struct DistinctWords {
    std::vector<QStringView> words;
    std::vector<qsizetype> counts;
    std::vector<std::uint32_t> order;
};

DistinctWords sortedDistinctWords(QStringView text)
{
    DistinctWords distinct;
    WordTable table;
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype start = 0; start < n;) {
        qsizetype end = start;
        while (end < n && p[end] != u' ')
            ++end;
        if (end > start) {
            const QStringView word = text.sliced(start, end - start);
            std::uint32_t &number = table.slotFor(word, distinct.words);
            if (number == 0) {
                distinct.words.push_back(word);
                distinct.counts.push_back(0);
                number = std::uint32_t(distinct.words.size());
            }
            ++distinct.counts[number - 1];
        }
        start = end + 1;
    }
    distinct.order = stableCodeUnitOrder(distinct.words);
    return distinct;
}

QString listEachOccurrence(const DistinctWords &distinct)
{
    qsizetype total = 0;
    for (std::size_t i = 0; i < distinct.words.size(); ++i)
        total += distinct.counts[i] * (distinct.words[i].size() + kCrLf.size());
    QString out(total, Qt::Uninitialized);
    QChar *write = out.data();
    for (const std::uint32_t index : distinct.order) {
        const QStringView word = distinct.words[index];
        for (qsizetype k = 0; k < distinct.counts[index]; ++k) {
            write = std::copy(word.begin(), word.end(), write);
            write = std::copy(kCrLf.begin(), kCrLf.end(), write);
        }
    }
    return out;
}

Outcome listWords(CommandHost &host)
{
    const std::optional<Words> words = parsedWords(host);
    if (!words)
        return Outcome::Cancelled;
    host.showStatus(QStringLiteral("Sorting..."));
    const DistinctWords distinct = sortedDistinctWords(words->text);
    if (host.cancelRequested())
        return cancelled(host);
    host.showStatus(QStringLiteral("Formatting..."));
    for (qsizetype i = 0; i < words->count; ++i) {
        if (host.cancelRequested())
            return cancelled(host);
    }
    host.setResultText(listEachOccurrence(distinct));
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace

Outcome sortWords(CommandHost &host)
{
    return listWords(host);
}

} // namespace wordloom::ops
