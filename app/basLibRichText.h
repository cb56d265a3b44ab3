#pragma once

#include <QString>

namespace wordloom {
class Dialogs;
class TextPane;
} // namespace wordloom

// Find and word wrap on a text pane.
namespace basLibRichText {

// Asks for a text and selects its next occurrence after searchPosition,
// wrapping once to the start of the pane; reports when it does not occur.
// Updates searchText (the answer, empty on cancel) and searchPosition
// (the match's index, -1 for none).
void FindText(wordloom::TextPane &pane, QString &searchText, qint32 &searchPosition,
              wordloom::Dialogs &dialogs);

// On: wraps 200 twips inside the pane's present width. Off: wraps only
// after about a thousand characters of the window's font.
void SetWordWrap(wordloom::TextPane &pane, bool wrapOn);

} // namespace basLibRichText
