#include "TextPane.h"

#include "Clipboard.h"
#include "LiveSelectionData.h"
#include "PaneDisplayText.h"
#include "Twips.h"
#include "WrapWidthLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace wordloom {

namespace {
// Marks the paragraph break that only cuts a long line for display. Held in
// the document's own formats, so undo and redo bring it back with the text.
constexpr int kDisplayBreak = QTextFormat::UserProperty + 1;

QTextCharFormat displayBreakFormat()
{
    QTextCharFormat format;
    format.setProperty(kDisplayBreak, true);
    return format;
}

// Inserts `text` at the cursor (replacing its selection) as the document
// holds it, a megabyte at a time; gives the lines of each paragraph it ended,
// or nothing when `betweenPieces` (if given) answered false and it stopped.
std::optional<std::vector<int>> insertAsDocumentText(QTextCursor &cursor, QStringView text,
                                                     const std::function<bool()> &betweenPieces)
{
    constexpr qsizetype kPiece = 1 << 20;
    const QTextCharFormat plain, marked = displayBreakFormat();
    PaneDisplayText::DocumentTextBuilder builder;
    std::vector<int> breaks;
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    for (qsizetype start = 0; start < text.size();) {
        qsizetype n = std::min(kPiece, text.size() - start);
        if (text[start + n - 1] == u'\r' && start + n < text.size() && text[start + n] == u'\n')
            ++n;
        breaks.clear();
        const QString display = builder.next(text.sliced(start, n), breaks);
        qsizetype from = 0;
        for (int at : breaks) {
            cursor.insertText(display.sliced(from, at - from), plain);
            cursor.insertBlock(cursor.blockFormat(), marked);
            from = at + 1;
        }
        cursor.insertText(display.sliced(from), plain);
        start += n;
        if (betweenPieces && start < text.size()) {
            // Whole between pieces: whatever runs meanwhile may paint it.
            cursor.endEditBlock();
            if (!betweenPieces())
                return std::nullopt;
            cursor.beginEditBlock();
        }
    }
    cursor.endEditBlock();
    return builder.paragraphLines();
}

int countLines(const QTextBlock &block)
{
    const QString text = block.text();
    return 1 + int(std::count(text.cbegin(), text.cend(), QChar::LineSeparator));
}
} // namespace

TextPane::TextPane(QWidget *parent) : QPlainTextEdit(parent)
{
    // A document of the pane's own, whose layout can wrap at a fixed width.
    auto *doc = new QTextDocument(this);
    layout_ = new WrapWidthLayout(doc);
    doc->setDocumentLayout(layout_);
    doc->setDefaultFont(font());
    layout_->setPaintDevice(viewport());
    setDocument(doc);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!removed && !added)
            return;
        searchableValid_ = false;
        displayBreaksValid_ = false;
        if (!writing_)
            writtenValid_ = false;
    });
}

const std::vector<int> &TextPane::displayBreaks() const
{
    if (displayBreaksValid_)
        return displayBreaks_;
    // A block's character format is that of the break before it.
    displayBreaks_.clear();
    for (QTextBlock b = document()->firstBlock().next(); b.isValid(); b = b.next())
        if (b.charFormat().hasProperty(kDisplayBreak))
            displayBreaks_.push_back(b.position() - 1);
    displayBreaksValid_ = true;
    return displayBreaks_;
}

int TextPane::toDocument(int position) const
{
    // Break i stands at pane position breaks[i] - i; a position there or
    // beyond lies after it.
    const std::vector<int> &breaks = displayBreaks();
    int low = 0, high = int(breaks.size());
    while (low < high) {
        const int mid = (low + high) / 2;
        if (breaks[mid] - mid <= position)
            low = mid + 1;
        else
            high = mid;
    }
    return position + low;
}

int TextPane::toPane(int documentPosition) const
{
    const std::vector<int> &breaks = displayBreaks();
    return documentPosition - int(std::lower_bound(breaks.begin(), breaks.end(), documentPosition) - breaks.begin());
}

QString TextPane::Text() const
{
    if (writtenValid_)
        return written_;
    return PaneDisplayText::fromDocument(document()->toRawText(), 0, displayBreaks());
}

void TextPane::setText(const QString &text)
{
    const int generation = ++writeGeneration_;
    writing_ = true;
    written_ = text;
    writtenValid_ = true;
    document()->setUndoRedoEnabled(false);
    setPlainText(QString());
    const std::function<bool()> betweenPieces = pacer(generation);
    // Letting go of a long old text is a stretch of its own, before the first piece.
    if (betweenPieces && !betweenPieces())
        return; // a later write took over while events ran
    QTextCursor cursor(document());
    if (!insertText(cursor, text, betweenPieces))
        return;
    document()->setUndoRedoEnabled(true);
    writing_ = false;
}

void TextPane::setPacing(bool on, int intervalMs)
{
    pacing_ = on;
    paceMs_ = intervalMs;
}

std::function<bool()> TextPane::pacer(int generation)
{
    if (!pacing_)
        return {};
    // While a command writes a long text, the window still repaints and
    // answers the window manager; input waits, so nothing edits the pane.
    return [this, generation, clock = QElapsedTimer()]() mutable {
        // The first piece ends a stretch that began before the write (the
        // command's own work), so events run there at once.
        if (!clock.isValid() || clock.elapsed() >= paceMs_) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            clock.restart();
        }
        return generation == writeGeneration_;
    };
}

bool TextPane::insertText(QTextCursor &cursor, QStringView text, const std::function<bool()> &betweenPieces)
{
    const int start = cursor.selectionStart();
    const std::optional<std::vector<int>> ended = insertAsDocumentText(cursor, text, betweenPieces);
    if (!ended)
        return false;
    const std::vector<int> &lines = *ended;
    // Each block keeps its number of lines for the scroll bar's estimate; the
    // first and last also hold text that was there before.
    const QTextBlock last = cursor.block();
    QTextBlock b = document()->findBlock(start);
    for (size_t k = 0; b.isValid(); b = b.next(), ++k) {
        const bool edge = k == 0 || b == last || k >= lines.size();
        b.setUserState(edge ? countLines(b) : lines[k]);
        if (b == last)
            break;
    }
    estimateLineCounts();
    return true;
}

QString TextPane::selText() const
{
    const QTextCursor c = textCursor();
    return PaneDisplayText::fromDocument(c.selectedText(), c.selectionStart(), displayBreaks());
}

void TextPane::setSelText(const QString &text)
{
    ++writeGeneration_;
    QTextCursor cursor = textCursor();
    insertText(cursor, text, {});
    setTextCursor(cursor);
}

int TextPane::selStart() const
{
    return toPane(textCursor().selectionStart());
}

int TextPane::selLength() const
{
    const QTextCursor c = textCursor();
    return toPane(c.selectionEnd()) - toPane(c.selectionStart());
}

void TextPane::setSelStart(int start)
{
    QTextCursor c = textCursor();
    const int last = document()->characterCount() - 1;
    c.setPosition(std::clamp(toDocument(std::max(start, 0)), 0, last));
    setTextCursor(c);
}

void TextPane::setSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    const int last = document()->characterCount() - 1;
    const qint64 end = qint64(toPane(start)) + std::max(length, 0);
    c.setPosition(start);
    c.setPosition(std::clamp(toDocument(int(std::min<qint64>(end, last))), start, last), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

int TextPane::find(const QString &text, int start)
{
    if (text.isEmpty() || start < 0)
        return -1;
    // The pane's text one position per character and line break, kept between
    // searches so that stepping through a large pane copies it once.
    if (!searchableValid_) {
        searchable_ = document()->toRawText();
        const std::vector<int> &breaks = displayBreaks();
        qsizetype kept = 0, next = 0;
        for (int at : breaks) {
            const qsizetype run = at - next;
            std::copy_n(searchable_.constData() + next, run, searchable_.data() + kept);
            kept += run;
            next = at + 1;
        }
        std::copy(searchable_.constData() + next, searchable_.constData() + searchable_.size(),
                  searchable_.data() + kept);
        searchable_.truncate(kept + (searchable_.size() - next));
        searchableValid_ = true;
    }
    if (start >= searchable_.size())
        return -1;
    const qsizetype at = searchable_.indexOf(text, start, Qt::CaseInsensitive);
    if (at < 0)
        return -1;
    QTextCursor c(document());
    c.setPosition(toDocument(int(at)));
    c.setPosition(toDocument(int(at + text.size() - 1)) + 1, QTextCursor::KeepAnchor);
    setTextCursor(c);
    return int(at);
}

void TextPane::setRightMargin(float twips)
{
    rightMargin_ = twips;
    rightMarginPixels_ = Twips::toPixelsX(twips, this);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // The layout's width is measured from inside the frame and includes the
    // document's own margin on both sides.
    layout_->setWrapWidth(std::max(rightMarginPixels_ - frameWidth() + document()->documentMargin(), 1.0));
    estimateLineCounts();
}

void TextPane::estimateLineCounts()
{
    // A block not yet laid out counts as one line; a block holds a few dozen
    // lines, so use their number, or the scroll bar would know a fraction of
    // the text.
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next())
        if (b.layout()->lineCount() == 0)
            b.setLineCount(std::max(1, b.userState()));
    emit layout->documentSizeChanged(layout->documentSize());
}

void TextPane::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    if (event->oldSize().width() == event->size().width())
        return;
    estimateLineCounts(); // the base class dropped every block's layout
}

QMimeData *TextPane::createMimeDataFromSelection() const
{
    if (liveSelection_)
        return new LiveSelectionData(this, [this] { return withLineFeeds(selText()); });
    auto *data = new QMimeData;
    data->setText(withLineFeeds(selText()));
    return data;
}

namespace {
// The local files among the dropped or pasted data's addresses, in order.
QStringList localFiles(const QMimeData *source)
{
    QStringList paths;
    if (source && source->hasUrls())
        for (const QUrl &url : source->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
    return paths;
}
} // namespace

bool TextPane::canInsertFromMimeData(const QMimeData *source) const
{
    return !localFiles(source).isEmpty() || QPlainTextEdit::canInsertFromMimeData(source);
}

void TextPane::dropEvent(QDropEvent *event)
{
    // Dropped files come in as their text, which the window reads; the drop
    // caret is cleared as a drag that left would clear it.
    if (const QStringList files = localFiles(event->mimeData()); !files.isEmpty() && !isReadOnly()) {
        QDragLeaveEvent leave;
        QPlainTextEdit::dragLeaveEvent(&leave);
        event->acceptProposedAction();
        emit filesDropped(files);
        return;
    }
    QPlainTextEdit::dropEvent(event);
}

void TextPane::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    setSelText(source->text());
    ensureCursorVisible();
}

void TextPane::keyPressEvent(QKeyEvent *event)
{
    // A typed break never takes the format of a display break next to it,
    // which would hide it from Text().
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !isReadOnly() && !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        QTextCursor cursor = textCursor();
        const QChar lineBreak = event->modifiers() & Qt::ShiftModifier ? QChar::LineSeparator : QChar::ParagraphSeparator;
        cursor.insertText(QString(lineBreak), QTextCharFormat());
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    // Tab types a tab, so Ctrl+Tab is the keyboard's way out of the pane, as
    // in other editors where Tab is text.
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (event->modifiers() & Qt::ControlModifier) && !(event->modifiers() & Qt::AltModifier)) {
        const bool backwards = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        QWidget::focusNextPrevChild(!backwards); // the edit's own refuses while Tab is text
        return;
    }
    // Keys that move the selection update the primary selection, which is
    // served when asked for; Copy and Cut put a copy on the clipboard now.
    liveSelection_ = !event->matches(QKeySequence::Copy) && !event->matches(QKeySequence::Cut);
    QPlainTextEdit::keyPressEvent(event);
    liveSelection_ = false;
}

void TextPane::mouseReleaseEvent(QMouseEvent *event)
{
    liveSelection_ = true; // a selection made with the mouse becomes the primary selection
    QPlainTextEdit::mouseReleaseEvent(event);
    liveSelection_ = false;
}

// The second press of a quick double click comes as a double click: it is a
// button pressed all the same (two quick right clicks open the menu twice).
void TextPane::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit mouseDown(event->button());
    QPlainTextEdit::mouseDoubleClickEvent(event);
}

void TextPane::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button());
    QPlainTextEdit::mousePressEvent(event);
}

} // namespace wordloom
