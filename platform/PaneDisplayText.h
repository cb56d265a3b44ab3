#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace wordloom {

// How a pane's plain text is held in its document, and read back.
//
// Lines become line separators inside paragraphs of a few dozen lines: the
// document then has few blocks, so building it, re-wrapping it and laying out
// only what is visible stay cheap even for a million lines. A very long line
// is shown in pieces, since a paragraph is always laid out whole; those added
// "display breaks" are remembered and never read back.
namespace PaneDisplayText {

constexpr int kLinesPerParagraph = 32;
constexpr qsizetype kLongestShownLine = 4096;

inline bool isSeparator(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// Turns a text into document text piece by piece, so that a large text never
// needs a second whole copy; a piece must not end between CR and LF.
class DocumentTextBuilder {
public:
    // The document text for the next piece; appends the positions (in the
    // returned text) of the display breaks it added to `displayBreaks`.
    QString next(QStringView piece, std::vector<int> &displayBreaks);
    // The number of lines of each paragraph ended so far, in order.
    const std::vector<int> &paragraphLines() const { return paragraphLines_; }

private:
    void lineBreak(char16_t *out, qsizetype &length, bool display);

    int lines_ = 0;
    int linesInParagraph_ = 1;
    qsizetype lineLength_ = 0;
    std::vector<int> paragraphLines_;
};

// The whole text at once.
QString toDocument(QStringView text, std::vector<int> &displayBreaks);

// The plain text of `raw`, a stretch of the document starting at document
// position `first`: separators become CR LF, except the display breaks at the
// sorted positions `displayBreaks`.
QString fromDocument(QStringView raw, int first, const std::vector<int> &displayBreaks);

} // namespace PaneDisplayText
} // namespace wordloom
