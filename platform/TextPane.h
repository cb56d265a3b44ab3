#pragma once

#include <QString>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <optional>
#include <vector>

namespace wordloom {

// A visible pane used as a plain-text buffer with a selection. Text() gives
// exactly what the pane holds, paragraph breaks as CR LF; what was written
// with setText() reads back unchanged, lone CR and LF included, until the
// user edits the pane.
class TextPane : public QTextEdit {
    Q_OBJECT
public:
    explicit TextPane(QWidget *parent = nullptr);

    QString Text() const;
    void setText(const QString &text);
    // Holds the document's background layout (scroll-bar sizing) while set.
    void holdBackgroundLayout(bool hold);

    // Whether Text() is non-empty, without building it.
    bool hasText() const { return writtenValid_ ? !written_.isEmpty() : !document()->isEmpty(); }

    QString selText() const;
    void setSelText(const QString &text);
    int selStart() const;
    int selLength() const;
    void setSelStart(int start);
    void setSelLength(int length);

    // Searches from the 0-based position `start` to the end, ignoring letter
    // case; selects the first match and returns its position, or returns -1
    // and leaves the selection. A paragraph break counts as one position.
    int find(const QString &text, int start);

    // Lines wrap where they reach this distance (twips) from the pane's left
    // edge; fixed until set again. Unset, lines wrap at the pane's own width.
    void setRightMargin(float twips);
    std::optional<float> rightMargin() const { return rightMargin_; }

signals:
    // Every mouse button pressed in the pane (before the pane's own handling).
    void mouseDown(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString fromDocumentText(const QString &raw, int firstPosition) const;
    static QString toDocumentText(const QString &text, std::vector<int> &displayBreaks);
    std::vector<int> displayBreaksFrom(int begin, int end) const;

    // Breaks shown only to cut a very long line; each cursor spans one.
    std::vector<QTextCursor> displayBreaks_;
    QString written_;
    bool writtenValid_ = false;
    bool writing_ = false;
    bool holdingLayout_ = false;
    std::optional<float> rightMargin_;
    QString searchable_;
    std::vector<int> searchBreaks_;
    bool searchableValid_ = false;
};

} // namespace wordloom
