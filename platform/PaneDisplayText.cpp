#include "PaneDisplayText.h"

#include <algorithm>

namespace wordloom::PaneDisplayText {

QString DocumentTextBuilder::next(QStringView piece, std::vector<int> &displayBreaks)
{
    const QChar *in = piece.constData();
    const qsizetype n = piece.size();
    QString display(n + n / kLongestShownLine + 1, Qt::Uninitialized);
    QChar *out = display.data();
    qsizetype length = 0;
    auto lineBreak = [&] {
        out[length++] = ++lines_ % kLinesPerParagraph ? QChar::LineSeparator : QChar::ParagraphSeparator;
        lineLength_ = 0;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i].unicode();
        if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            if (c == u'\r' && i + 1 < n && in[i + 1] == u'\n')
                ++i;
            lineBreak();
            continue;
        }
        if (lineLength_ == kLongestShownLine) {
            displayBreaks.push_back(int(length));
            lineBreak();
        }
        out[length++] = in[i];
        ++lineLength_;
    }
    display.truncate(length);
    return display;
}

QString toDocument(QStringView text, std::vector<int> &displayBreaks)
{
    return DocumentTextBuilder().next(text, displayBreaks);
}

QString fromDocument(QStringView raw, int first, const std::vector<int> &displayBreaks)
{
    const auto begin = std::lower_bound(displayBreaks.begin(), displayBreaks.end(), first);
    const auto end = std::lower_bound(begin, displayBreaks.end(), first + int(raw.size()));
    // Sized exactly first: the text can be tens of megabytes.
    const qsizetype separators = std::count_if(raw.begin(), raw.end(), isSeparator);
    QString text(raw.size() + separators - 2 * (end - begin), Qt::Uninitialized);
    QChar *out = text.data();
    auto added = begin;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (!isSeparator(c)) {
            *out++ = c;
            continue;
        }
        if (added != end && *added == first + i) {
            ++added;
            continue;
        }
        *out++ = u'\r';
        *out++ = u'\n';
    }
    return text;
}

} // namespace wordloom::PaneDisplayText
