#include "TextViews.h"

#include "lib/LargePages.h"

#include <cstring>

namespace wordloom::ops {

// Pairs cannot overlap, so every LF after a CR ends a piece. Plain loops:
// one library search per line costs more than the line.
namespace {
// Four units are tested at once (a unit equal to LF is a zero unit after the
// exclusive or); only words that may hold an LF are looked at unit by unit.
template <typename OnLf>
void forEachLf(QStringView text, OnLf onLf)
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        const std::uint64_t x = word ^ 0x000A000A000A000AULL;
        if (((x - 0x0001000100010001ULL) & ~x & 0x8000800080008000ULL) == 0)
            continue;
        for (qsizetype k = i; k < i + 4; ++k) {
            if (p[k] == u'\n')
                onLf(k);
        }
    }
    for (; i < n; ++i) {
        if (p[i] == u'\n')
            onLf(i);
    }
}

template <typename OnSeparator>
void forEachCrLf(QStringView text, OnSeparator onSeparator)
{
    const char16_t *p = text.utf16();
    forEachLf(text, [&](qsizetype lf) {
        if (lf > 0 && p[lf - 1] == u'\r')
            onSeparator(lf - 1);
    });
}
} // namespace

std::vector<QStringView> splitAtCrLf(QStringView text)
{
    std::vector<QStringView> pieces;
    if (text.isEmpty())
        return pieces;
    reserveLarge(pieces, std::size_t(countCrLfPieces(text)));
    qsizetype start = 0;
    forEachCrLf(text, [&](qsizetype cr) {
        pieces.push_back(text.sliced(start, cr - start));
        start = cr + 2;
    });
    pieces.push_back(text.sliced(start));
    return pieces;
}

qsizetype countCrLfPieces(QStringView text)
{
    if (text.isEmpty())
        return 0;
    qsizetype pieces = 1;
    forEachCrLf(text, [&](qsizetype) { ++pieces; });
    return pieces;
}

QString joinInOrder(std::span<const QStringView> items, std::span<const std::uint32_t> order,
                    QStringView separator)
{
    if (order.empty())
        return {};
    qsizetype total = separator.size() * qsizetype(order.size() - 1);
    if (order.size() == items.size()) { // a permutation: read the items in memory order
        for (const QStringView item : items)
            total += item.size();
    } else {
        for (const std::uint32_t index : order)
            total += items[index].size();
    }
    QString out(total, Qt::Uninitialized);
    adviseLargePages(out.data(), std::size_t(total) * sizeof(QChar));
    QChar *write = out.data();
    // The items stand anywhere in memory: fetch a few ahead, their views
    // first, then their units, so that the misses overlap.
    constexpr std::size_t kViewsAhead = 16, kUnitsAhead = 8;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k + kViewsAhead < order.size())
            __builtin_prefetch(&items[order[k + kViewsAhead]]);
        if (k + kUnitsAhead < order.size())
            __builtin_prefetch(items[order[k + kUnitsAhead]].utf16());
        if (k > 0)
            write = std::copy(separator.begin(), separator.end(), write);
        const QStringView item = items[order[k]];
        write = std::copy(item.begin(), item.end(), write);
    }
    return out;
}

QString detab(const QString &text)
{
    if (!text.contains(u'\t'))
        return text;
    QString copy = text;
    copy.replace(u'\t', u' ');
    return copy;
}

} // namespace wordloom::ops
