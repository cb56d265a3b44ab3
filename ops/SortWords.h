#pragma once

#include "CommandHost.h"

#include <QString>

#include <functional>

namespace wordloom::ops {

// Sort Words after BeginOperation: cancel test, "Dehyphenating...",
// cancel test, "Cleaning...", cancel test, "Packing..." (a cancel test per
// packing pass), "Parsing...", cancel test, a cancel test per word,
// "Sorting...", cancel test, "Formatting..." (a cancel test per word), the
// result (every non-empty word and CR LF, in ascending binary order),
// "Ready". The work pane holds each step's text. A cancel test that finds the
// request posts "Cancelled" and ends the command.
Outcome sortWords(CommandHost &host);

// What repeated passes of "two spaces become one" leave after `passes` passes
// (every run of r spaces becomes ceil(r / 2^passes) spaces).
QString packSpaces(QString text, int passes);

// What the packing loop leaves once it has run to its end, made in one pass:
// every run of spaces made one space; the spaces left; and how many passes the
// loop runs until a pass changes nothing. `between`, if given, runs between
// stretches of a few million characters.
struct PackedText {
    QString text;
    qsizetype spaces = 0;
    int passes = 1;
};
PackedText packedText(QStringView text, const std::function<void()> &between = {});

} // namespace wordloom::ops
