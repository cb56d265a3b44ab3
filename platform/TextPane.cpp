#include "TextPane.h"

#include "Twips.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace wordloom {

TextPane::TextPane(QWidget *parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!removed && !added)
            return;
        searchable_.clear();
        searchableValid_ = false;
        if (!writing_)
            writtenValid_ = false;
    });
    document()->documentLayout()->installEventFilter(this);
}

void TextPane::holdBackgroundLayout(bool hold)
{
    holdingLayout_ = hold;
}

bool TextPane::eventFilter(QObject *watched, QEvent *event)
{
    // The document lays itself out in timer steps to size the scroll bars;
    // while a command runs those steps wait, the visible part is laid out
    // when it is painted.
    if (holdingLayout_ && event->type() == QEvent::Timer && watched == document()->documentLayout())
        return true;
    return QTextEdit::eventFilter(watched, event);
}

namespace {
bool isSeparator(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}
} // namespace

QString TextPane::fromDocumentText(const QString &raw, int firstPosition) const
{
    // Paragraph and line separators are the pane's line breaks; every other
    // character (a non-breaking space, a tab) stays as it is. Breaks the pane
    // added only to display a long line are left out.
    const std::vector<int> added = displayBreaksFrom(firstPosition, firstPosition + int(raw.size()));
    auto nextAdded = added.begin();
    QString text;
    text.reserve(raw.size() + raw.size() / 32);
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (!isSeparator(c)) {
            text.append(c);
            continue;
        }
        while (nextAdded != added.end() && *nextAdded < firstPosition + i)
            ++nextAdded;
        if (nextAdded != added.end() && *nextAdded == firstPosition + i)
            continue;
        text.append(u"\r\n");
    }
    return text;
}

std::vector<int> TextPane::displayBreaksFrom(int begin, int end) const
{
    std::vector<int> positions;
    for (const QTextCursor &c : displayBreaks_) {
        const int at = c.selectionStart();
        if (c.hasSelection() && at >= begin && at < end && isSeparator(document()->characterAt(at)))
            positions.push_back(at);
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}

QString TextPane::Text() const
{
    if (writtenValid_)
        return written_;
    return fromDocumentText(document()->toRawText(), 0);
}

QString TextPane::toDocumentText(const QString &text, std::vector<int> &displayBreaks)
{
    // Lines become line separators inside paragraphs of a few dozen lines:
    // the document then has few blocks and builds in a blink even for
    // megabytes, while reading it back still gives one CR LF per break.
    // A very long line is shown in pieces, since the pane lays out a
    // paragraph whole; those added breaks are remembered and never read back.
    constexpr int kLinesPerParagraph = 32;
    constexpr qsizetype kLongestShownLine = 4096;
    const QChar *in = text.constData();
    const qsizetype n = text.size();
    QString display(n + n / kLongestShownLine + 1, Qt::Uninitialized);
    QChar *out = display.data();
    qsizetype length = 0, lineLength = 0;
    int lines = 0;
    auto lineBreak = [&] {
        out[length++] = ++lines % kLinesPerParagraph ? QChar::LineSeparator : QChar::ParagraphSeparator;
        lineLength = 0;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i].unicode();
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && in[i + 1] == u'\n')
                ++i;
            lineBreak();
            continue;
        }
        if (lineLength == kLongestShownLine) {
            displayBreaks.push_back(int(length));
            lineBreak();
        }
        out[length++] = in[i];
        ++lineLength;
    }
    display.truncate(length);
    return display;
}

void TextPane::setText(const QString &text)
{
    writing_ = true;
    std::vector<int> breaks;
    displayBreaks_.clear();
    setPlainText(toDocumentText(text, breaks));
    displayBreaks_.reserve(breaks.size());
    QTextCursor batch(document());
    batch.beginEditBlock(); // cursors placed inside an edit block skip laying out their line
    for (int at : breaks) {
        QTextCursor c(document());
        c.setPosition(at);
        c.setPosition(at + 1, QTextCursor::KeepAnchor);
        displayBreaks_.push_back(c);
    }
    batch.endEditBlock();
    writing_ = false;
    written_ = text;
    writtenValid_ = true;
    searchable_.clear();
    searchableValid_ = false;
}

QString TextPane::selText() const
{
    const QTextCursor c = textCursor();
    return fromDocumentText(c.selectedText(), c.selectionStart());
}

void TextPane::setSelText(const QString &text)
{
    textCursor().insertText(text);
}

int TextPane::selStart() const
{
    return textCursor().selectionStart();
}

int TextPane::selLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TextPane::setSelStart(int start)
{
    QTextCursor c = textCursor();
    const int last = document()->characterCount() - 1;
    c.setPosition(std::clamp(start, 0, last));
    setTextCursor(c);
}

void TextPane::setSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    const int last = document()->characterCount() - 1;
    c.setPosition(start);
    c.setPosition(std::clamp(start + length, start, last), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

int TextPane::find(const QString &text, int start)
{
    if (text.isEmpty() || start >= document()->characterCount())
        return -1;
    // The document's own text without the breaks added for display, kept
    // between searches so that stepping through a large pane copies it once.
    if (!searchableValid_) {
        const QString raw = document()->toRawText();
        searchBreaks_ = displayBreaksFrom(0, int(raw.size()));
        searchable_ = raw;
        for (auto it = searchBreaks_.rbegin(); it != searchBreaks_.rend(); ++it)
            searchable_.remove(*it, 1);
        searchableValid_ = true;
    }
    // Positions in the pane count the added breaks; the searched text does not.
    auto breaksBefore = [this](qsizetype position) {
        return qsizetype(std::lower_bound(searchBreaks_.begin(), searchBreaks_.end(), position) -
                         searchBreaks_.begin());
    };
    const qsizetype from = std::max(start, 0);
    const qsizetype at = searchable_.indexOf(text, from - breaksBefore(from), Qt::CaseInsensitive);
    if (at < 0)
        return -1;
    auto toPane = [this](qsizetype index) {
        qsizetype position = index;
        for (int b : searchBreaks_) // sorted: each break at or before the position shifts it
            if (b <= position)
                ++position;
        return position;
    };
    const qsizetype first = toPane(at);
    const qsizetype last = toPane(at + text.size() - 1);
    QTextCursor c(document());
    c.setPosition(int(first));
    c.setPosition(int(last + 1), QTextCursor::KeepAnchor);
    setTextCursor(c);
    return int(first);
}

void TextPane::setRightMargin(float twips)
{
    rightMargin_ = twips;
    // The layout width is measured from inside the frame and includes the
    // document's own margin on both sides.
    const int edge = Twips::toPixelsX(twips, this);
    const int margin = int(document()->documentMargin());
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(std::max(edge - frameWidth() + margin, 1));
}

void TextPane::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button());
    QTextEdit::mousePressEvent(event);
}

} // namespace wordloom
