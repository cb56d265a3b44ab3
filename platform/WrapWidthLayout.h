#pragma once

#include <QPlainTextDocumentLayout>
#include <optional>

namespace wordloom {

// The pane's document layout: Qt's plain-text layout, which lays out a block
// only when it is shown, except that while a wrap width is set lines wrap at
// that width instead of the viewport's, wider or narrower than it. The plain
// edit sets the layout's width from its viewport and offers no other, so a
// block laid out at any other width is laid out again here before it is used.
class WrapWidthLayout : public QPlainTextDocumentLayout {
    Q_OBJECT
public:
    explicit WrapWidthLayout(QTextDocument *document);

    // The width lines wrap at, in pixels from the document's left edge, its
    // margins on both sides included; unset, the viewport's width.
    void setWrapWidth(std::optional<qreal> width);
    std::optional<qreal> wrapWidth() const { return wrapWidth_; }

    QRectF blockBoundingRect(const QTextBlock &block) const override;
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame *frame) const override;

private:
    qreal lineWidth(const QTextBlock &block) const;
    void layOut(const QTextBlock &block) const;

    std::optional<qreal> wrapWidth_;
    // Set while a change of size is being told, which may lay out more blocks.
    mutable bool tellingSize_ = false;
};

} // namespace wordloom
