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
        if (!writing_ && (removed || added))
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

void TextPane::setText(const QString &text)
{
    writing_ = true;
    setPlainText(text);
    writing_ = false;
    written_ = text;
    writtenValid_ = true;
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
    // Block by block, so that a search never copies the whole document.
    for (QTextBlock block = document()->findBlock(std::max(start, 0)); block.isValid(); block = block.next()) {
        const int from = std::max(start - block.position(), 0);
        const qsizetype at = block.text().indexOf(text, from, Qt::CaseInsensitive);
        if (at < 0)
            continue;
        QTextCursor c(document());
        c.setPosition(block.position() + int(at));
        c.setPosition(block.position() + int(at + text.size()), QTextCursor::KeepAnchor);
        setTextCursor(c);
        return block.position() + int(at);
    }
    return -1;
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
