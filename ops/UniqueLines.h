#pragma once

#include "CommandHost.h"

#include <QString>


namespace wordloom::ops {

// The de-duplication stage of Unique Lines on the sorted lines: "Splitting...",
// then the first of every run of equal non-empty lines, with a cancel test
// after every line, joined with CR LF (none after the last), into `kept`.
// Cancelled when a cancel test found the request (the caller posts
// "Cancelled").
Outcome keepUniqueSortedLines(const QString &sortedText, CommandHost &host, QString &kept);

} // namespace wordloom::ops
