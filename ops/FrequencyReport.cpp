#include "FrequencyReport.h"

#include "CommandError.h"
#include "SideBySide.h"
#include "TextCodec.h"

#include <QLocale>

#include <algorithm>
#include <cstring>
#include <span>

namespace wordloom::ops {

QString systemGroupSeparator()
{
    return QLocale::system().groupSeparator();
}

QString formatCount(std::int64_t count, QStringView separator)
{
    if (count == 0)
        return {};
    const QString digits = QString::number(count);
    const qsizetype sign = digits.startsWith(u'-') ? 1 : 0;
    QString out = digits.first(sign);
    for (qsizetype i = sign; i < digits.size(); ++i) {
        const qsizetype left = digits.size() - i;
        if (i > sign && left % 3 == 0)
            out.append(separator);
        out.append(digits[i]);
    }
    return out;
}

namespace {
// The count as formatCount renders it, written into out; returns its length.
// Counts below 1 take the general way.
qsizetype renderCount(std::int64_t count, QStringView separator, char16_t *out)
{
    char16_t digits[24];
    int used = 0;
    for (std::uint64_t v = std::uint64_t(count); v > 0; v /= 10)
        digits[used++] = char16_t(u'0' + v % 10);
    qsizetype at = 0;
    for (int i = used - 1; i >= 0; --i) {
        if (i < used - 1 && (i + 1) % 3 == 0)
            for (const QChar c : separator)
                out[at++] = c.unicode();
        out[at++] = digits[i];
    }
    return at;
}

qsizetype countLength(std::int64_t count, QStringView separator)
{
    if (count < 1)
        return formatCount(count, separator).size();
    qsizetype digits = 0;
    for (std::uint64_t v = std::uint64_t(count); v > 0; v /= 10)
        ++digits;
    return digits + (digits - 1) / 3 * separator.size();
}

// PadToWidth(text, width, " ") and the count, written at out; returns the end.
// spaces: at least width spaces, copied rather than filled one by one.
char16_t *writeRow(char16_t *out, const FrequencyRow &row, qsizetype width, QStringView separator,
                   const char16_t *spaces)
{
    const char16_t *text = reinterpret_cast<const char16_t *>(row.text.utf16());
    qsizetype end = row.text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    end = std::min(end, width);
    std::memcpy(out, text, std::size_t(end) * sizeof(char16_t));
    std::memcpy(out + end, spaces, std::size_t(width - end) * sizeof(char16_t));
    out += width;
    if (row.count < 1) {
        const QString rendered = formatCount(row.count, separator);
        out = std::copy(rendered.utf16(), rendered.utf16() + rendered.size(), out);
    } else {
        out += renderCount(row.count, separator, out);
    }
    *out++ = u'\r';
    *out++ = u'\n';
    return out;
}

Outcome longestText(const FrequencyTable &table, CommandHost &host, qsizetype &longest)
{
    for (const auto &row : table) {
        longest = std::max(longest, row.text.size());
        if (host.cancelRequested())
            return Outcome::Cancelled;
    }
    return Outcome::Ready;
}
} // namespace

namespace {
// The sizing and formatting posts, the sizing loop's cancel tests and the
// budget check: the text column's width and the text's length.
struct Column {
    qsizetype width = 0;
    qsizetype textLength = 0;
};

Outcome sizedColumn(const FrequencyTable &table, CommandHost &host, const ReportStyle &style,
                    QStringView separator, Column &column)
{
    host.showStatus(style.sizingStatus);
    qsizetype longest = style.minimumTextWidth;
    if (longestText(table, host, longest) == Outcome::Cancelled)
        return Outcome::Cancelled;
    host.showStatus(style.formattingStatus);
    const qsizetype width = longest + 2;
    qsizetype total = 0;
    for (const auto &row : table)
        total += width + countLength(row.count, separator) + 2;
    if (2 * std::size_t(total) > style.resultBudgetBytes)
        throw CommandError(style.tooLargeMessage);
    column = Column{width, total};
    return Outcome::Ready;
}

Outcome paddedText(const FrequencyTable &table, CommandHost &host, Column column, QStringView separator,
                   QString &result)
{
    const qsizetype width = column.width;
    result.resize(column.textLength);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    const QString spaces(width, u' ');
    for (const auto &row : table) {
        out = writeRow(out, row, width, separator, reinterpret_cast<const char16_t *>(spaces.utf16()));
        if (host.cancelRequested())
            return Outcome::Cancelled;
    }
    return Outcome::Ready;
}
} // namespace

Outcome reportFrequencyTable(const FrequencyTable &table, CommandHost &host, const ReportStyle &style,
                             QStringView separator)
{
    Column column;
    if (sizedColumn(table, host, style, separator, column) == Outcome::Cancelled)
        return cancelled(host);
    if (host.acceptsResultTable()) {
        for (std::size_t row = 0; row < table.size(); ++row) {
            if (host.cancelRequested())
                return cancelled(host);
        }
        host.setResultTable(table, column.width, separator);
        return Outcome::Ready;
    }
    QString text;
    if (paddedText(table, host, column, separator, text) == Outcome::Cancelled)
        return cancelled(host);
    host.setResultText(text);
    return Outcome::Ready;
}

namespace {

// The row's text without its trailing spaces, cut to the column, as PadToWidth keeps it.
QStringView shownText(const FrequencyRow &row, qsizetype width)
{
    qsizetype end = row.text.size();
    while (end > 0 && row.text[end - 1] == u' ')
        --end;
    return QStringView(row.text).first(std::min(end, width));
}

} // namespace

namespace {

void appendRowsUtf8(std::string &out, std::span<const FrequencyRow> rows, QStringView separator,
                    std::string_view lineEnd, qsizetype width)
{
    for (const auto &row : rows) {
        const QStringView text = shownText(row, width);
        appendUtf8(out, text);
        out.append(std::size_t(width - text.size()), ' ');
        char16_t count[64];
        const qsizetype length = row.count < 1 || separator.size() > 4
            ? -1 : renderCount(row.count, separator, count);
        appendUtf8(out, length < 0 ? QStringView(formatCount(row.count, separator)) : QStringView(count, length));
        out.append(lineEnd);
    }
}

} // namespace

void writeFrequencyTableUtf8(const FrequencyTable &table, QStringView separator, std::string_view lineEnd,
                             const std::function<void(std::string_view)> &write, qsizetype width)
{
    if (width < 0) {
        qsizetype longest = 0;
        for (const auto &row : table)
            longest = std::max(longest, row.text.size());
        width = longest + 2;
    }
    // Blocks of about two megabytes; on a large table two are formatted at
    // once, on two cores, while the two before them are written in order.
    constexpr std::size_t kBlockBytes = std::size_t(2) << 20;
    const std::size_t perBlock = std::max<std::size_t>(1, kBlockBytes / (std::size_t(width) + 16));
    const std::span<const FrequencyRow> rows(table);
    const auto blockAt = [&](std::size_t start) {
        return rows.subspan(std::min(start, rows.size()), std::min(perBlock, rows.size() - std::min(start, rows.size())));
    };
    std::string written[2], formatting[2];
    for (std::size_t start = 0; start < rows.size(); start += 2 * perBlock) {
        const auto writeEarlier = [&] {
            for (auto &block : written)
                if (!block.empty())
                    write(block);
        };
        const auto first = blockAt(start), second = blockAt(start + perBlock);
        if (second.empty()) {
            writeEarlier();
            appendRowsUtf8(formatting[0], first, separator, lineEnd, width);
        } else {
            runSideBySide([&] { writeEarlier(); appendRowsUtf8(formatting[0], first, separator, lineEnd, width); },
                          [&] { appendRowsUtf8(formatting[1], second, separator, lineEnd, width); });
        }
        std::swap(written, formatting);
        formatting[0].clear();
        formatting[1].clear();
    }
    for (auto &block : written)
        if (!block.empty())
            write(block);
}

} // namespace wordloom::ops
