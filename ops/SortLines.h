#pragma once

#include "CommandHost.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace wordloom::ops {

// Sort Lines after BeginOperation: cancel test, "Detabbing..." (work pane:
// the detabbed text), cancel test, "Splitting...", cancel test, leading spaces
// removed, "Sorting...", cancel test, "Formatting..." (result: the lines in
// ascending binary order joined with CR LF), cancel test, "Ready". A cancel
// test that finds the request posts "Cancelled" and ends the command.
Outcome sortLines(CommandHost &host);

// The lines of a run of Sort Lines, before they are joined: views into
// `text`, and the order they go in; or, when the caller accepts it and the
// lines were in order already, the joined text itself (lines and order empty).
struct SortedLines {
    QString text;
    std::vector<QStringView> lines;
    std::vector<std::uint32_t> order;
    std::optional<QString> joined;
};

// Sort Lines through "Sorting..." and the cancel test after it (the steps
// up to the join), into `sorted`; Cancelled when a cancel test found the
// request, after posting "Cancelled".
enum class JoinedShortcut { Refused, Accepted };
Outcome sortLinesUpToJoin(CommandHost &host, SortedLines &sorted,
                          JoinedShortcut shortcut = JoinedShortcut::Refused);

// The step between splitting and sorting: each line without its leading
// spaces (a view into the same text).
void removeLeadingSpaces(std::vector<QStringView> &lines);

// What Sort Lines makes of an already detabbed text whose lines need no
// moving: the text itself when its pieces are in order and none starts with
// a space, or the text with its final CR LF moved to the front when only an
// empty last piece is out of place (a word list ends so). Nothing otherwise.
std::optional<QString> joinedIfAlreadyInOrder(const QString &detabbed);

} // namespace wordloom::ops
