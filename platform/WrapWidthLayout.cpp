#include "WrapWidthLayout.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace wordloom {

namespace {
// A line's width is held in 1/64 pixel.
constexpr qreal kWidthResolution = 1.0 / 64;
} // namespace

WrapWidthLayout::WrapWidthLayout(QTextDocument *document) : QPlainTextDocumentLayout(document) {}

void WrapWidthLayout::setWrapWidth(std::optional<qreal> width)
{
    if (width == wrapWidth_)
        return;
    wrapWidth_ = width;
    // Every block is laid out again when next shown; until then each counts
    // as one line, as after the edit's own change of width.
    for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next()) {
        b.clearLayout();
        b.setLineCount(b.isVisible() ? 1 : 0);
    }
    requestUpdate();
}

qreal WrapWidthLayout::lineWidth(const QTextBlock &block) const
{
    // As the plain layout measures it: the width less both document margins,
    // and room for the break marks when they are shown.
    qreal width = *wrapWidth_ - 2 * document()->documentMargin();
    if (document()->defaultTextOption().flags() & QTextOption::AddSpaceForLineAndParagraphSeparators)
        width -= QFontMetricsF(block.charFormat().font()).horizontalAdvance(QChar(0x21B5));
    return std::max(width, kWidthResolution);
}

void WrapWidthLayout::layOut(const QTextBlock &block) const
{
    QTextDocument *doc = document();
    const qreal margin = doc->documentMargin();
    const qreal width = lineWidth(block);
    QTextLayout *layout = block.layout();
    layout->setTextOption(doc->defaultTextOption());
    layout->beginLayout();
    qreal height = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        line.setPosition(QPointF(margin, height));
        height += line.height();
        if (line.leading() < 0)
            height += std::ceil(line.leading());
    }
    layout->endLayout();

    const int linesBefore = doc->lineCount();
    QTextBlock(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    if (doc->lineCount() == linesBefore || tellingSize_)
        return;
    // The scroll bars follow the new number of lines; what they lay out
    // meanwhile is counted by them, not told again.
    auto *self = const_cast<WrapWidthLayout *>(this);
    tellingSize_ = true;
    emit self->documentSizeChanged(documentSize());
    tellingSize_ = false;
}

QRectF WrapWidthLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (wrapWidth_ && block.isValid()) {
        // Laid out at another width (the edit's, after a resize or an edit
        // within one block), or not yet: laid out here at the wrap width.
        const QTextLayout *layout = block.layout();
        if (layout->lineCount() == 0 ||
            std::abs(layout->lineAt(0).width() - lineWidth(block)) >= kWidthResolution)
            layOut(block);
    }
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

QSizeF WrapWidthLayout::documentSize() const
{
    QSizeF size = QPlainTextDocumentLayout::documentSize();
    if (wrapWidth_)
        size.setWidth(std::max(size.width(), *wrapWidth_));
    return size;
}

QRectF WrapWidthLayout::frameBoundingRect(QTextFrame *frame) const
{
    QRectF rect = QPlainTextDocumentLayout::frameBoundingRect(frame);
    if (wrapWidth_)
        rect.setWidth(std::max(rect.width(), *wrapWidth_));
    return rect;
}

} // namespace wordloom
