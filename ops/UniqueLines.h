#pragma once

#include "CommandHost.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace wordloom::ops {

// The de-duplication stage of Unique Lines on the sorted lines: "Splitting...",
// then the first of every run of equal non-empty lines, with a cancel test
// after every line. Nothing when a cancel test found the request (the caller
// posts "Cancelled"). With no line kept the list is one empty entry.
std::optional<QStringList> keepUniqueSortedLines(const QString &sortedText, CommandHost &host);

// The lines with CR LF between each two, none after the last.
QString joinLines(const QStringList &lines);

// Unique Lines as one function, for the batch companion: Sort Lines' steps
// and status texts (the sorted text is not written as a result), then
// "Shuffling...", "Splitting...", the kept-lines loop, "Reshuffling...",
// "Formatting...", the result, "Ready", with the cancel tests of both.
Outcome uniqueLines(CommandHost &host);

} // namespace wordloom::ops
