#pragma once

#include "CommandHost.h"

#include <QString>

#include <optional>

namespace wordloom::ops {

// The de-duplication stage of Unique Lines on the sorted lines: "Splitting...",
// then the first of every run of equal non-empty lines, with a cancel test
// after every line, joined with CR LF (none after the last). Nothing when a
// cancel test found the request (the caller posts "Cancelled").
std::optional<QString> keepUniqueSortedLines(const QString &sortedText, CommandHost &host);

} // namespace wordloom::ops
