#include "TextViews.h"


namespace wordloom::ops {

// Pairs cannot overlap, so every LF after a CR ends a piece. Plain loops:
// one library search per line costs more than the line.
namespace {
template <typename OnSeparator>
void forEachCrLf(QStringView text, OnSeparator onSeparator)
{
    const char16_t *p = text.utf16();
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (p[i] == u'\n' && p[i - 1] == u'\r')
            onSeparator(i - 1);
    }
}
} // namespace

std::vector<QStringView> splitAtCrLf(QStringView text)
{
    std::vector<QStringView> pieces;
    if (text.isEmpty())
        return pieces;
    pieces.reserve(std::size_t(text.count(u'\n')) + 1);
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
    const char16_t *p = text.utf16();
    qsizetype pieces = 1;
    for (qsizetype i = 1; i < text.size(); ++i)
        pieces += (p[i] == u'\n') & (p[i - 1] == u'\r');
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
    QChar *write = out.data();
    bool first = true;
    for (const std::uint32_t index : order) {
        if (!first)
            write = std::copy(separator.begin(), separator.end(), write);
        first = false;
        const QStringView item = items[index];
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
