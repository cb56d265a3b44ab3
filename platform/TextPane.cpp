#include "TextPane.h"

#include "Twips.h"

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
}

QString TextPane::fromDocumentText(const QString &raw)
{
    // Paragraph and line separators are the pane's line breaks; every other
    // character (a non-breaking space, a tab) stays as it is.
    QString text;
    text.reserve(raw.size() + raw.size() / 32);
    for (QChar c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            text.append(u"\r\n");
        else
            text.append(c);
    }
    return text;
}

QString TextPane::Text() const
{
    if (writtenValid_)
        return written_;
    return fromDocumentText(document()->toRawText());
}

QString TextPane::toDocumentText(const QString &text)
{
    // Lines become line separators inside paragraphs of a few dozen lines:
    // the document then has few blocks and builds in a blink even for
    // megabytes, while reading it back still gives one CR LF per break.
    constexpr int kLinesPerParagraph = 32;
    QString display(text.size(), Qt::Uninitialized);
    QChar *out = display.data();
    const QChar *in = text.constData();
    const qsizetype n = text.size();
    qsizetype length = 0;
    int lines = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i].unicode();
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && in[i + 1] == u'\n')
                ++i;
            out[length++] = ++lines % kLinesPerParagraph ? QChar::LineSeparator : QChar::ParagraphSeparator;
        } else {
            out[length++] = in[i];
        }
    }
    display.truncate(length);
    return display;
}

void TextPane::setText(const QString &text)
{
    writing_ = true;
    setPlainText(toDocumentText(text));
    writing_ = false;
    written_ = text;
    writtenValid_ = true;
    searchable_.clear();
    searchableValid_ = false;
}

QString TextPane::selText() const
{
    return fromDocumentText(textCursor().selectedText());
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
    // The document's own text, one character per position, kept between
    // searches so that stepping through a large pane copies it only once.
    if (!searchableValid_) {
        searchable_ = document()->toRawText();
        searchableValid_ = true;
    }
    const qsizetype at = searchable_.indexOf(text, std::max(start, 0), Qt::CaseInsensitive);
    if (at < 0)
        return -1;
    QTextCursor c(document());
    c.setPosition(int(at));
    c.setPosition(int(at + text.size()), QTextCursor::KeepAnchor);
    setTextCursor(c);
    return int(at);
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
