#include "TextViews.h"


namespace wordloom::ops {

namespace {
// Where the CR LF pair that ends the piece starting at `from` begins, or -1.
qsizetype nextCrLf(QStringView text, qsizetype from)
{
    for (;;) {
        const qsizetype lf = text.indexOf(u'\n', from);
        if (lf < 0)
            return -1;
        if (lf > from && text[lf - 1] == u'\r')
            return lf - 1;
        from = lf + 1;
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
    for (qsizetype cr; (cr = nextCrLf(text, start)) >= 0; start = cr + 2)
        pieces.push_back(text.sliced(start, cr - start));
    pieces.push_back(text.sliced(start));
    return pieces;
}

qsizetype countCrLfPieces(QStringView text)
{
    if (text.isEmpty())
        return 0;
    qsizetype pieces = 1;
    for (qsizetype cr, start = 0; (cr = nextCrLf(text, start)) >= 0; start = cr + 2)
        ++pieces;
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
