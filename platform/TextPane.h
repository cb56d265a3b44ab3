#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>
#include <functional>
#include <optional>
#include <vector>

namespace wordloom {

class WrapWidthLayout;

// A visible pane used as a plain-text buffer with a selection. Text() gives
// exactly what the pane holds, paragraph breaks as CR LF; what was written
// with setText() reads back unchanged, lone CR and LF included, until the
// user edits the pane.
//
// Positions (selStart, selLength, find) count one per character and one per
// line break. Built on the plain-text edit, which lays out only the lines it
// shows, so texts of many megabytes paste, show and scroll at once; every way
// text comes in (Paste, Ctrl+V, drag and drop, middle click) takes the same
// fast path as setText(), and every way it goes out (Copy, Cut, drag) gives
// exactly the selected part of Text().
class TextPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextPane(QWidget *parent = nullptr);

    QString Text() const;
    void setText(const QString &text);

    // While on, a long setText() lets the window repaint and answer the
    // window manager between pieces (not the user's input), every
    // `intervalMs` or so.
    void setPacing(bool on, int intervalMs = 50);

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
    // and leaves the selection.
    int find(const QString &text, int start);

    // Lines wrap where they reach this distance (twips) from the pane's left
    // edge; fixed until set again. Unset, lines wrap at the pane's own width.
    void setRightMargin(float twips);
    std::optional<float> rightMargin() const { return rightMargin_; }

signals:
    // Every mouse button pressed in the pane (before the pane's own handling).
    void mouseDown(Qt::MouseButton button);
    // Local files dropped on the pane, in their order; the pane itself is unchanged.
    void filesDropped(const QStringList &paths);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void dropEvent(QDropEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // Document positions of the display breaks still in place, sorted.
    const std::vector<int> &displayBreaks() const;
    void rememberDisplayBreaks(int offset, const std::vector<int> &breaks);
    int toDocument(int position) const;
    int toPane(int documentPosition) const;
    // False when a later write took over meanwhile.
    bool insertText(QTextCursor &cursor, QStringView text, const std::function<bool()> &betweenPieces);
    std::function<bool()> pacer(int generation);
    void estimateLineCounts();

    std::vector<QTextCursor> displayBreakCursors_;
    mutable std::vector<int> displayBreaks_;
    mutable bool displayBreaksValid_ = false;
    QString written_;
    bool writtenValid_ = false;
    bool writing_ = false;
    bool pacing_ = false;
    int paceMs_ = 50;
    int writeGeneration_ = 0;
    std::optional<float> rightMargin_;
    int rightMarginPixels_ = 0;
    WrapWidthLayout *layout_ = nullptr;
    mutable QString searchable_;
    mutable bool searchableValid_ = false;
    // Set while Qt updates the primary selection from a key or the mouse.
    bool liveSelection_ = false;
};

} // namespace wordloom
